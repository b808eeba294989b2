#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The browser's program as a person on a phone meets it: the page served by a local web server
and opened in headless Chromium at a phone's size with touch, the README's worked example and
Johannesburg typed into the main window by taps and keys and START tapped; every result box must
show the README's text exactly and the data file the README's line. Then the direction plot and
the figure viewer open and close, the server stops, and a reload from the service worker's copy
brings the program back with the last data file.

The boxes are read back through the program's test hooks (app/webtesthooks.cpp), since the
browser's Qt draws all text into one canvas. Chromium is driven through its DevTools protocol over
a pipe (--remote-debugging-pipe): no port, no extra package.
  tests/web/page_test.py SITE_FOLDER [--screenshots FOLDER] [--loads N]
"""
import argparse
import functools
import http.server
import json
import os
import re
import select
import shutil
import statistics
import subprocess
import sys
import tempfile
import threading
import time
import base64
import fcntl

HERE = os.path.dirname(os.path.abspath(__file__))
README = os.path.join(HERE, '..', '..', 'README.md')
DATA_FILE = '/home/web_user/.local/share/torvel/rlin1.txt'
RECENT_SITES = '/home/web_user/.local/share/torvel/recent-sites.txt'

INPUT_BOXES = {
    'Site longitude: degrees, minutes': ('Text1', 'Text2'),
    'Site latitude: degrees, minutes': ('Text3', 'Text4'),
    'Satellite 1: degrees, minutes': ('Text5', 'Text6'),
    'Satellite 2: degrees, minutes': ('Text9', 'Text10'),
    'Focal length, mm': ('Text13',),
}
OUTPUT_BOXES = {
    'ALFA 1': 'Text8', 'BETA 1': 'Text7', 'ALFA 2': 'Text12', 'BETA 2': 'Text11',
    'Feed rotation': 'Text16', 'Elevation shift': 'Text14', 'Centre distance': 'Text15',
}


def readme_columns():
    """The check values: {site: ({box: typed text}, {box or 'rlin1.txt': expected text})}."""
    rows = [line for line in open(README, encoding='utf-8') if line.startswith('| ')]
    def cells(line):
        return [c.strip() for c in line.strip().strip('|').split('|')]
    header = cells(next(r for r in rows if r.startswith('| Input |')))
    sites = header[1:]
    columns = {site: ({}, {}) for site in sites}
    for line in rows:
        c = cells(line)
        if c[0] in INPUT_BOXES:
            for site, value in zip(sites, c[1:]):
                value = re.sub(r'\s*\(.*\)', '', value)
                texts = [v.strip() for v in value.split(',')]
                for box, text in zip(INPUT_BOXES[c[0]], texts):
                    columns[site][0][box] = '' if text == 'empty' else text
        elif c[0] in OUTPUT_BOXES or c[0] == '`rlin1.txt`':
            key = OUTPUT_BOXES.get(c[0], 'rlin1.txt')
            for site, value in zip(sites, c[1:]):
                columns[site][1][key] = value[1:-1]  # inside the backticks
    return columns


class DevTools:
    """The DevTools protocol over Chromium's pipe: NUL-terminated JSON both ways."""

    def __init__(self, write_fd, read_fd):
        self.write_fd, self.read_fd = write_fd, read_fd
        self.buffer = b''
        self.next_id = 0
        self.session = None

    def _message(self, deadline):
        while b'\0' not in self.buffer:
            left = deadline - time.monotonic()
            if left <= 0 or not select.select([self.read_fd], [], [], left)[0]:
                raise TimeoutError('no answer from Chromium')
            chunk = os.read(self.read_fd, 1 << 20)
            if not chunk:
                raise RuntimeError('Chromium closed its pipe')
            self.buffer += chunk
        message, self.buffer = self.buffer.split(b'\0', 1)
        return json.loads(message)

    def send(self, method, params=None, browser=False, timeout=30):
        self.next_id += 1
        message = {'id': self.next_id, 'method': method, 'params': params or {}}
        if self.session and not browser:
            message['sessionId'] = self.session
        os.write(self.write_fd, json.dumps(message).encode() + b'\0')
        deadline = time.monotonic() + timeout
        while True:
            answer = self._message(deadline)
            if answer.get('id') == self.next_id:
                if 'error' in answer:
                    raise RuntimeError(f'{method}: {answer["error"]}')
                return answer.get('result', {})

    def evaluate(self, expression, timeout=30):
        result = self.send('Runtime.evaluate', {'expression': expression, 'returnByValue': True,
                                                'awaitPromise': True}, timeout=timeout)
        if 'exceptionDetails' in result:
            raise RuntimeError(f'{expression}: {result["exceptionDetails"]}')
        return result['result'].get('value')

    def wait_for(self, expression, timeout=60):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            value = self.evaluate(expression)
            if value:
                return value
            time.sleep(0.05)
        raise TimeoutError(f'waited {timeout} s for {expression}')


class Page:
    def __init__(self, devtools):
        self.dt = devtools

    def hook(self, function, name, kind='string'):
        return self.dt.evaluate(
            f'qtLoader.module().ccall({json.dumps(function)}, {json.dumps(kind)}, ["string"], '
            f'[{json.dumps(name)}])')

    def rect(self, name):
        text = self.hook('torvel_test_rect', name)
        if not text:
            raise RuntimeError(f'{name} is not on the page')
        x, y, w, h = map(int, text.split(','))
        left, top = self.dt.evaluate(
            '(() => { const r = document.getElementById("qtcanvas").getBoundingClientRect();'
            ' return [r.left, r.top]; })()')
        return left + x, top + y, w, h

    def tap(self, name):
        x, y, w, h = self.rect(name)
        point = [{'x': x + w / 2, 'y': y + h / 2}]
        self.dt.send('Input.dispatchTouchEvent', {'type': 'touchStart', 'touchPoints': point})
        self.dt.send('Input.dispatchTouchEvent', {'type': 'touchEnd', 'touchPoints': []})
        self.settle()

    def key(self, key, code, text=''):
        for kind in ('keyDown', 'keyUp'):
            params = {'type': kind, 'key': key, 'windowsVirtualKeyCode': code,
                      'nativeVirtualKeyCode': code}
            if text and kind == 'keyDown':
                params['text'] = text
            self.dt.send('Input.dispatchKeyEvent', params)

    def type_into(self, name, text):
        self.tap(name)
        self.key('End', 35)
        for _ in range(len(self.hook('torvel_test_box_text', name))):
            self.key('Backspace', 8)
        for c in text:
            code = {'-': 189, '.': 190}.get(c, ord(c.upper()))
            self.key(c, code, c)
        self.settle()

    def data_file(self, path=DATA_FILE):
        """A file's text in the user's data folder, or None where the page holds no such file."""
        return self.dt.evaluate(
            f'(() => {{ try {{ return qtLoader.module().FS.readFile({json.dumps(path)}, '
            '{encoding: "utf8"}); } catch (e) { return null; } })()')

    def settle(self):
        # Two animation frames: Qt has handled the events and drawn.
        self.dt.evaluate('new Promise(r => requestAnimationFrame(() => requestAnimationFrame(r)))')

    def screenshot(self, path):
        data = self.dt.send('Page.captureScreenshot', {'format': 'png'})['data']
        with open(path, 'wb') as f:
            f.write(base64.b64decode(data))


def pipe_above(low):
    """A pipe whose two ends are numbered above low, clear of the descriptors Chromium reads."""
    ends = os.pipe()
    moved = tuple(fcntl.fcntl(end, fcntl.F_DUPFD_CLOEXEC, low + 1) for end in ends)
    for end in ends:
        os.close(end)
    return moved


def serve(folder):
    class Quiet(http.server.SimpleHTTPRequestHandler):
        def log_message(self, *args):
            pass
    handler = functools.partial(Quiet, directory=folder)
    server = http.server.ThreadingHTTPServer(('127.0.0.1', 0), handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


def start_chromium():
    """Headless Chromium with a fresh profile, driven over its pipe, attached to its page."""
    # Chromium reads the protocol from descriptor 3 and answers on 4: its ends of the pipes are
    # put there in the child only, whatever the parent holds at those numbers (a server socket).
    to_chromium, from_chromium = pipe_above(4), pipe_above(4)

    def give_pipes():
        os.dup2(to_chromium[0], 3)
        os.dup2(from_chromium[1], 4)
    profile = tempfile.mkdtemp(prefix='torvel-chromium-')
    chromium = subprocess.Popen(
        ['chromium', '--headless', '--no-sandbox', '--disable-gpu', '--disable-quic',
         '--no-first-run', '--disable-background-networking', '--disable-component-update',
         '--disable-sync', f'--user-data-dir={profile}', '--remote-debugging-pipe',
         'about:blank'], close_fds=False, preexec_fn=give_pipes, stdout=subprocess.DEVNULL,
        stderr=subprocess.DEVNULL)
    for end in (to_chromium[0], from_chromium[1]):
        os.close(end)
    dt = DevTools(to_chromium[1], from_chromium[0])
    targets = dt.send('Target.getTargets')['targetInfos']
    page_id = next(t['targetId'] for t in targets if t['type'] == 'page')
    dt.session = dt.send('Target.attachToTarget', {'targetId': page_id, 'flatten': True},
                         browser=True)['sessionId']
    dt.send('Page.enable')
    return chromium, dt, profile


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('site')
    parser.add_argument('--screenshots')
    parser.add_argument('--loads', type=int, default=5)
    args = parser.parse_args()
    if args.screenshots:
        os.makedirs(args.screenshots, exist_ok=True)

    server = serve(os.path.abspath(args.site))
    url = f'http://127.0.0.1:{server.server_port}/torvel.html'
    chromium, dt, profile = start_chromium()
    failures = []
    try:
        dt.send('Emulation.setDeviceMetricsOverride', {'width': 412, 'height': 915,
                                                       'deviceScaleFactor': 2, 'mobile': True})
        dt.send('Emulation.setTouchEmulationEnabled', {'enabled': True, 'maxTouchPoints': 5})
        page = Page(dt)
        ready = ('window.torvelShownAt !== undefined && qtLoader.module() !== undefined && '
                 'qtLoader.module().ccall("torvel_test_rect", "string", ["string"], '
                 '["TORVEL/Gprog"]) !== ""')

        # From the page's load to the main window drawn, over the network.
        loads = []
        for i in range(args.loads):
            dt.send('Page.navigate', {'url': url})
            dt.wait_for(ready)
            loads.append(dt.evaluate('window.torvelShownAt'))
        print(f'load to window, from the server: median {statistics.median(loads):.0f} ms '
              f'of {loads and [round(t) for t in loads]}')

        x, y, w, h = page.rect('TORVEL')
        width = dt.evaluate('window.innerWidth')
        print(f'main window {w}x{h} at {x},{y} on a page {width} CSS pixels wide')
        if x < 0 or x + w > width:
            failures.append(f'the main window ({x}..{x + w}) is not whole on the page ({width})')

        columns = readme_columns()
        for site in ('Worked example', 'Johannesburg'):
            typed, expected = columns[site]
            for box, text in typed.items():
                page.type_into('TORVEL/' + box, text)
                got = page.hook('torvel_test_box_text', 'TORVEL/' + box)
                if got != text:
                    failures.append(f'{site}: typed {text!r} into {box}, it shows {got!r}')
            page.tap('TORVEL/Gprog')
            for box, text in expected.items():
                if box == 'rlin1.txt':
                    got = page.data_file()
                    text += '\r\n'
                else:
                    got = page.hook('torvel_test_box_text', 'TORVEL/' + box)
                if got != text:
                    failures.append(f'{site}: {box} shows {got!r}, the README says {text!r}')
            print(f'{site}: {len(expected)} results compared')
            if args.screenshots:
                page.screenshot(os.path.join(args.screenshots,
                                             f'web-{site.split()[0].lower()}.png'))

        # ЛИСТ offers the installation sheet as a download: a whole PDF page lands in the
        # download folder, named as on the desktop.
        downloads = os.path.join(profile, 'downloads')
        os.makedirs(downloads, exist_ok=True)
        dt.send('Browser.setDownloadBehavior', {'behavior': 'allow', 'downloadPath': downloads},
                browser=True)
        page.tap('TORVEL/LIST')
        sheet = None
        for _ in range(200):
            done = [n for n in os.listdir(downloads) if n.endswith('.pdf')]
            if done:
                sheet = os.path.join(downloads, done[0])
                break
            time.sleep(0.05)
        if not sheet:
            failures.append('ЛИСТ downloaded no page')
        else:
            time.sleep(0.3)
            with open(sheet, 'rb') as f:
                pdf = f.read()
            print(f'sheet downloaded: {os.path.basename(sheet)}, {len(pdf)} bytes')
            if args.screenshots:
                shutil.copy(sheet, os.path.join(args.screenshots, 'web-sheet.pdf'))
            if not (pdf.startswith(b'%PDF-') and pdf.rstrip().endswith(b'%%EOF')):
                failures.append(f'the downloaded sheet {os.path.basename(sheet)} is no whole PDF')
            if not re.match(r'RASCHET \d{4}-\d\d-\d\d .* 20E 36E\.pdf$', os.path.basename(sheet)):
                failures.append(f'the downloaded sheet is named {os.path.basename(sheet)!r}')

        # START's handler alone, in the page.
        starts = [dt.evaluate('qtLoader.module().ccall("torvel_test_press", "number", '
                              '["string"], ["TORVEL/Gprog"])') for _ in range(21)]
        print(f'START in the page: median {statistics.median(starts):.2f} ms')

        # The plot and the viewer open and close by taps.
        page.tap('TORVEL/NAPR')
        page.tap('FLIN1/START')
        if args.screenshots:
            page.screenshot(os.path.join(args.screenshots, 'web-plot.png'))
        page.tap('FLIN1/CMDEXIT')
        page.tap('TORVEL/RISYNOK')
        page.tap('FRIS123/RISYNOK')
        if args.screenshots:
            page.screenshot(os.path.join(args.screenshots, 'web-figures.png'))
        page.tap('FRIS123/cmd1')
        if dt.evaluate('qtLoader.module().ccall("torvel_test_rect", "string", ["string"], '
                       '["FRIS123"])'):
            failures.append('the figure viewer did not close')

        # The town found by name: the search box has its clear button, whose pictures the
        # program carries itself, and the town chosen fills the site's boxes.
        page.tap('TORVEL/GOROD')
        x, y, w, h = page.rect('SearchPopup')
        if x < 0 or x + w > width:
            failures.append(f'the town search ({x}..{x + w}) is not whole on the page ({width})')
        page.type_into('SearchPopup/query', 'johannes')
        clear = page.hook('torvel_test_clear_button', 'SearchPopup/query')
        if '16x16' not in clear.split(','):
            failures.append(f'the search box\'s clear button has pictures {clear!r}')
        if args.screenshots:
            page.screenshot(os.path.join(args.screenshots, 'web-search.png'))
        page.key('Enter', 13, '\r')
        page.settle()
        for box, text in (('Text1', '28'), ('Text2', '2.62'), ('Text3', '-26'),
                          ('Text4', '-12.14')):
            got = page.hook('torvel_test_box_text', 'TORVEL/' + box)
            if got != text:
                failures.append(f'town "johannes": {box} shows {got!r}, not {text!r}')
        print('town search: Johannesburg chosen by name')

        # The data file saved in the browser's storage, and every file kept by the service
        # worker; then without the server, the page again from the kept copies.
        dt.wait_for('navigator.serviceWorker.controller !== null', 30)
        time.sleep(1)
        server.shutdown()
        server.server_close()
        dt.send('Page.navigate', {'url': url})
        dt.wait_for(ready)
        offline = dt.evaluate('window.torvelShownAt')
        print(f'load to window, offline from the kept copies: {offline:.0f} ms')
        got = page.data_file()
        want = columns['Johannesburg'][1]['rlin1.txt'] + '\r\n'
        if got != want:
            failures.append(f'offline reload: the data file holds {got!r}, not {want!r}')
        # The sites of both STARTs are remembered in the same saved folder.
        recent = page.data_file(RECENT_SITES) or ''
        if '-26' not in recent or '35' not in recent:
            failures.append(f'offline reload: the recent sites are {recent!r}')
        if args.screenshots:
            page.screenshot(os.path.join(args.screenshots, 'web-offline.png'))
    finally:
        chromium.kill()
        chromium.wait()
        shutil.rmtree(profile, ignore_errors=True)

    for failure in failures:
        print('FAIL:', failure)
    print('page test:', 'FAILED' if failures else 'passed')
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
