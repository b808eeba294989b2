#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The page's storage script (web/storage.js) in headless Chromium, with a small C program in
place of the whole browser's program, so that it needs only Debian's emscripten: a data file
written and saved is there again after a reload, and a browser without IndexedDB (as a private
window or storage turned off leaves a page) is told to the program at start, and nothing is
saved.
  tests/web/storage_test.py BUILD_FOLDER
"""
import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import page_test  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
LINE = '342.237790692367,58.1014898775577\r\n'


def main():
    folder = os.path.abspath(sys.argv[1])
    os.makedirs(folder, exist_ok=True)
    subprocess.run(['emcc', os.path.join(HERE, 'storage_probe.c'), '-o',
                    os.path.join(folder, 'probe.js'), '-lidbfs.js', '--pre-js',
                    os.path.join(HERE, '..', '..', 'web', 'storage.js'), '-sMODULARIZE=1',
                    '-sEXPORTED_RUNTIME_METHODS=ccall,UTF8ToString',
                    '-sEXPORTED_FUNCTIONS=_main,_malloc,_free'], check=True)
    with open(os.path.join(folder, 'probe.html'), 'w') as page:
        page.write('<!doctype html><script>if (location.hash === "#no-storage") '
                   'Object.defineProperty(window, "indexedDB", {value: undefined});</script>'
                   '<script src="probe.js"></script>'
                   '<script>Module().then(m => { window.M = m; });</script>')

    server = page_test.serve(folder)
    url = f'http://127.0.0.1:{server.server_port}/probe.html'
    chromium, dt, profile = page_test.start_chromium()
    failures = []
    try:
        def load(address):
            # Through a blank page: a change of the hash alone would not load the page again.
            dt.send('Page.navigate', {'url': 'about:blank'})
            dt.wait_for('location.href === "about:blank"')
            dt.send('Page.navigate', {'url': address})
            return dt.wait_for('window.M && [M.found, M.torvelStorageProblem || ""]')

        found, problem = load(url)
        if found or problem:
            failures.append(f'a fresh browser: found {found!r}, problem {problem!r}')
        dt.evaluate(f'M.ccall("write_data_file", "number", ["string"], [{LINE!r}])')
        saved = dt.wait_for('M.savedError !== undefined && ["" + M.savedError]')[0]
        if saved:
            failures.append(f'the save failed: {saved}')
        found, problem = load(url)
        if found != LINE:
            failures.append(f'after a reload the file holds {found!r}')

        found, problem = load(url + '#no-storage')
        if not problem:
            failures.append('without IndexedDB the program is not told')
        dt.evaluate(f'M.ccall("write_data_file", "number", ["string"], [{LINE!r}])')
        if dt.evaluate('M.savedError !== undefined'):
            failures.append('without IndexedDB a save was tried')
    finally:
        chromium.kill()
        chromium.wait()
        server.shutdown()
        page_test.shutil.rmtree(profile, ignore_errors=True)

    for failure in failures:
        print('FAIL:', failure)
    print('storage test:', 'FAILED' if failures else 'passed')
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
