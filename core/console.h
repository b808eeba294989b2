// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A window program on Windows has no console of its own: what it writes to standard output or
// standard error goes nowhere unless they were redirected. Started from a console window (a
// command prompt), it takes that console for the outputs that were not redirected, so that
// --help and --version are seen there. Elsewhere, and on other systems, nothing changes.
void UseParentConsole();
