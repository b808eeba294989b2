// SPDX-License-Identifier: GPL-3.0-or-later
// Runs a test suite of the browser build under node: the suite's .js module, made and run here,
// its output passed through; the exit code is 0 only when Qt Test's closing line counts no
// failure (the program's runtime stays alive after main, so its return value never reaches node).
//   node --no-experimental-fetch tests/web/run_node.js path/to/tst_x.js [Qt Test arguments]
'use strict';
const path = require('path');
const factory = require(path.resolve(process.argv[2]));
let totals = null;
const print = function (line) {
  console.log(line);
  const match = /^Totals: (\d+) passed, (\d+) failed/.exec(line);
  if (match) totals = { passed: Number(match[1]), failed: Number(match[2]) };
};
factory({ arguments: process.argv.slice(3), print: print, printErr: print }).then(function () {
  // main has run to its end by the time the module is ready.
  process.exitCode = totals && totals.failed === 0 && totals.passed > 0 ? 0 : 1;
}, function (error) {
  console.error(error);
  process.exitCode = 1;
});
