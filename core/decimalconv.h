// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// The decimal conversions of doubles that the number writer and reader rest on, with the same
// digits from every C++ library: to_chars and from_chars where the library has them for floating
// point, and otherwise (the browser build's C++ library) the C library's printf and strtod,
// which round correctly too. Both paths are built everywhere, so that tests compare them.
namespace DecimalConv {

// The scientific form of a value of 0 or more with `precision` digits after the point:
// "d.ddde+XX", always with '.'.
std::string Scientific(double value, int precision);

// The fixed form of a value of 0 or more with `decimals` digits after the point, always with '.'.
std::string Fixed(double value, int decimals);

struct Read {
    double value;     // the nearest double; 0 or infinity when out of range
    bool outOfRange;  // beyond the largest double or nearer 0 than the smallest
};

// Reads the value of a text of decimal digits, the letter 'e' and a signed whole exponent, as the
// number reader builds it: no point, no sign before the digits.
Read ReadScientific(const std::string& text);

// The C library's conversions, used where the C++ library lacks the floating-point ones.
namespace ByPrintf {
std::string Scientific(double value, int precision);
std::string Fixed(double value, int decimals);
Read ReadScientific(const std::string& text);
}  // namespace ByPrintf

}  // namespace DecimalConv
