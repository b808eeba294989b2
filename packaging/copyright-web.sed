# The browser's folder's copyright file, made from the Windows folder's (scripts/web.sh): the
# program is torvel.wasm with its loader torvel.js, the fonts are built into it without their
# hinting, and emscripten's run-time takes the place of GCC's and MinGW-w64's.
s/torvel\.exe/torvel.wasm/g
s/and the Windows platform$/and the browser platform/
s/^ plugin), built from Debian 12's qt6-base source package and linked$/ plugin, and its page loader qtloader.js), built from Debian 12's qt6-base\
 source package and linked/
/^Comment: RASCHET (torvel) computes/,/^$/c\
Comment: RASCHET (torvel) computes the look angles of two satellites and the\
 offsets of a second feed for one dish. This is the browser's folder: the\
 page torvel.html, the program torvel.wasm with its loader torvel.js, Qt, the\
 run-time libraries, its pictures and the Liberation fonts listed below built\
 in, Qt's page loader, the service worker that keeps the files for offline\
 use, and the icons and manifest for a phone's home screen.\

/^Files: fonts\/\*/,/^$/c\
Files: torvel.wasm (fonts)\
Copyright: 2007 Red Hat, Inc.\
License: GPL-2 with Font exception\
Comment: Liberation Sans (regular and bold) and Liberation Serif (bold)\
 1.07.4, as Debian 12's fonts-liberation package installs them, with their\
 hinting instructions taken out (fontTools), built into the program. Their\
 full licence terms are in fonts/LICENSE and fonts/GPL-2; LIBERATION is a\
 trademark of Red Hat, Inc.\

/^Files: torvel.wasm (compiler run-time)/,/^$/c\
Files: torvel.wasm torvel.js (compiler run-time)\
Copyright: The Emscripten authors; the musl authors; the LLVM project\
License: Expat\
Comment: The run-time that Debian 12's emscripten 3.1.6 links into the\
 program and writes around it: emscripten's JavaScript loader and library\
 code (MIT or NCSA; used here under MIT), the musl C library (MIT), and\
 LLVM's libc++, libc++abi and compiler-rt (Apache-2.0 with the LLVM\
 exception, which asks nothing of compiled forms).\

$a\
\
License: Expat\
 Permission is hereby granted, free of charge, to any person obtaining a copy\
 of this software and associated documentation files (the "Software"), to\
 deal in the Software without restriction, including without limitation the\
 rights to use, copy, modify, merge, publish, distribute, sublicense, and/or\
 sell copies of the Software, and to permit persons to whom the Software is\
 furnished to do so, subject to the following conditions:\
 .\
 The above copyright notice and this permission notice shall be included in\
 all copies or substantial portions of the Software.\
 .\
 THE SOFTWARE IS PROVIDED "AS IS", WITHOUT WARRANTY OF ANY KIND, EXPRESS OR\
 IMPLIED, INCLUDING BUT NOT LIMITED TO THE WARRANTIES OF MERCHANTABILITY,\
 FITNESS FOR A PARTICULAR PURPOSE AND NONINFRINGEMENT. IN NO EVENT SHALL THE\
 AUTHORS OR COPYRIGHT HOLDERS BE LIABLE FOR ANY CLAIM, DAMAGES OR OTHER\
 LIABILITY, WHETHER IN AN ACTION OF CONTRACT, TORT OR OTHERWISE, ARISING\
 FROM, OUT OF OR IN CONNECTION WITH THE SOFTWARE OR THE USE OR OTHER DEALINGS\
 IN THE SOFTWARE.
