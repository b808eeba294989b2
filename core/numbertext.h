// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The general text of a number, as the result boxes and the direction plot show it: rounded to
// 15 significant digits for a double-precision value and to 7 for a single-precision one,
// trailing zeros and a bare trailing point dropped, a leading blank for 0 or more and '-' for a
// negative value, '.' as the decimal point whatever the regional settings, no zero before the
// point (" .5"), and exponent form (" 1E-05", " 1.5E+15") below 0.0001 or from 10^15 (double)
// or 10^7 (single) upwards.
QString NumberText(double value);
QString NumberText(float value);

// The same text without the leading blank of a non-negative value, as the direction data file
// holds its numbers.
QString NumberTextBare(double value);

// A number to one decimal, '.' as the decimal point whatever the regional settings, as the
// tooltips give degrees and millimetres: "6.1", "-54.8", "0.0".
QString TenthsText(double value);
