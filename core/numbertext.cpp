// SPDX-License-Identifier: GPL-3.0-or-later
#include "numbertext.h"

#include <cmath>
#include <string>

#include "decimalconv.h"

namespace {

// digits: the significant digits of |value| after rounding, exponent: the decimal exponent of
// the first one; both read from the scientific form, which is locale-independent.
template <typename T>
QString generalText(T value, int significantDigits, int exponentFormFrom) {
    if (std::isnan(value)) return QStringLiteral("NaN");
    if (std::isinf(value)) return value > 0 ? QStringLiteral(" Inf") : QStringLiteral("-Inf");
    if (value == 0) return QStringLiteral(" 0");

    const std::string scientific =
        DecimalConv::Scientific(double(std::fabs(value)), significantDigits - 1);
    const auto e = scientific.find('e');
    std::string digits;
    for (std::size_t i = 0; i < e; ++i)
        if (scientific[i] != '.') digits += scientific[i];
    const int exponent = std::stoi(scientific.substr(e + 1));
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

    std::string text = value < 0 ? "-" : " ";
    if (exponent < -4 || exponent >= exponentFormFrom) {
        text += digits[0];
        if (digits.size() > 1) text += '.' + digits.substr(1);
        text += exponent < 0 ? "E-" : "E+";
        const int magnitude = std::abs(exponent);
        if (magnitude < 10) text += '0';
        text += std::to_string(magnitude);
    } else if (exponent >= 0) {
        const std::size_t integerDigits = std::size_t(exponent) + 1;
        if (digits.size() <= integerDigits) {
            text += digits + std::string(integerDigits - digits.size(), '0');
        } else {
            text += digits.substr(0, integerDigits) + '.' + digits.substr(integerDigits);
        }
    } else {
        text += '.' + std::string(std::size_t(-exponent - 1), '0') + digits;
    }
    return QString::fromLatin1(text.data(), qsizetype(text.size()));
}

}  // namespace

QString NumberText(double value) {
    return generalText(value, 15, 15);
}

QString NumberText(float value) {
    return generalText(value, 7, 7);
}

QString NumberTextBare(double value) {
    QString text = NumberText(value);
    if (text.startsWith(u' ')) text.remove(0, 1);
    return text;
}

QString TenthsText(double value) {
    return QString::number(value, 'f', 1);
}
