#include "leadingnumber.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace {

bool isIgnored(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n';
}
bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// Decimal exponent of the first significant digit of a mantissa such as "0012.5" (2 for 12.5,
// -1 for .05), used only to tell an overflow from an underflow.
long long leadingExponent(const std::string& mantissa) {
    const auto point = mantissa.find('.');
    const long long integerDigits =
        point == std::string::npos ? (long long)mantissa.size() : (long long)point;
    for (std::size_t i = 0; i < mantissa.size(); ++i) {
        if (mantissa[i] == '.' || mantissa[i] == '0') continue;
        const long long index = (long long)i;
        return index < integerDigits ? integerDigits - index - 1 : integerDigits - index;
    }
    return 0;
}

}  // namespace

double LeadingNumber(QStringView text) {
    std::string mantissa;
    std::string exponent;
    bool negative = false;
    bool seenSign = false, seenPoint = false, seenDigit = false;
    bool inExponent = false, exponentSign = false;

    for (QChar c : text) {
        if (isIgnored(c)) continue;
        if (inExponent) {
            if ((c == u'+' || c == u'-') && !exponentSign && exponent.empty()) {
                exponentSign = true;
                if (c == u'-') exponent += '-';
                continue;
            }
            if (isDigit(c)) {
                exponent += char(c.unicode());
                continue;
            }
            break;
        }
        if ((c == u'+' || c == u'-') && !seenSign && !seenDigit && !seenPoint) {
            seenSign = true;
            negative = (c == u'-');
            continue;
        }
        if (isDigit(c)) {
            seenDigit = true;
            mantissa += char(c.unicode());
            continue;
        }
        if (c == u'.' && !seenPoint) {
            seenPoint = true;
            mantissa += '.';
            continue;
        }
        if (seenDigit && (c == u'E' || c == u'e' || c == u'D' || c == u'd')) {
            inExponent = true;
            continue;
        }
        break;
    }
    if (!seenDigit) return 0.0;

    // An exponent letter with no digits after it adds nothing.
    const bool hasExponent = !exponent.empty() && exponent != "-";
    std::string number = mantissa;
    if (hasExponent) number += 'e' + exponent;

    double value = 0.0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        // Out of range either way: decide by where the first significant digit lands.
        long long shift = 0;
        if (hasExponent) {
            const bool expNegative = exponent[0] == '-';
            const std::string digits = expNegative ? exponent.substr(1) : exponent;
            // Saturate: anything past a few thousand is far out of range already.
            shift = digits.size() > 6 ? 1000000 : std::stoll(digits);
            if (expNegative) shift = -shift;
        }
        const bool overflow = leadingExponent(mantissa) + shift > 0;
        value = overflow ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return negative ? -value : value;
}
