// SPDX-License-Identifier: GPL-3.0-or-later
#include "decimalconv.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <system_error>

namespace DecimalConv {

namespace ByPrintf {

namespace {
// printf writes the regional decimal point where the program has taken the user's regional
// settings; whatever it wrote between the digits becomes '.'.
std::string withPoint(std::string text) {
    for (char& c : text)
        if (!(c >= '0' && c <= '9') && c != 'e' && c != '+' && c != '-') c = '.';
    return text;
}

std::string printed(const char* format, double value, int digits) {
    const int size = std::snprintf(nullptr, 0, format, digits, value);
    std::string text(std::size_t(size) + 1, '\0');
    std::snprintf(text.data(), text.size(), format, digits, value);
    text.resize(std::size_t(size));
    return withPoint(text);
}
}  // namespace

std::string Scientific(double value, int precision) {
    return printed("%.*e", value, precision);
}

std::string Fixed(double value, int decimals) {
    return printed("%.*f", value, decimals);
}

Read ReadScientific(const std::string& text) {
    // The text has no decimal point, so the regional settings cannot change how it reads.
    errno = 0;
    const double value = std::strtod(text.c_str(), nullptr);
    return {value, errno == ERANGE && (std::isinf(value) || value == 0)};
}

}  // namespace ByPrintf

// The C++ library tells whether it converts floating point with to_chars and from_chars.
#if defined(__cpp_lib_to_chars) && __cpp_lib_to_chars >= 201611L

std::string Scientific(double value, int precision) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                      std::chars_format::scientific, precision);
    return std::string(buffer, result.ptr);
}

std::string Fixed(double value, int decimals) {
    std::string fixed(400 + std::size_t(decimals), '\0');
    const auto result = std::to_chars(fixed.data(), fixed.data() + fixed.size(), value,
                                      std::chars_format::fixed, decimals);
    fixed.resize(std::size_t(result.ptr - fixed.data()));
    return fixed;
}

Read ReadScientific(const std::string& text) {
    double value = 0.0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    return {value, result.ec == std::errc::result_out_of_range};
}

#else

std::string Scientific(double value, int precision) {
    return ByPrintf::Scientific(value, precision);
}

std::string Fixed(double value, int decimals) {
    return ByPrintf::Fixed(value, decimals);
}

Read ReadScientific(const std::string& text) {
    return ByPrintf::ReadScientific(text);
}

#endif

}  // namespace DecimalConv
