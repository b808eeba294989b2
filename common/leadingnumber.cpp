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

// An exponent's magnitude stops growing here: far beyond any double, yet added to a mantissa's
// decimal position (at most a text's length) it stays well inside a long long.
constexpr long long kExponentCap = 100'000'000'000'000'000LL;

}  // namespace

double LeadingNumber(QStringView text) {
    std::string digits;               // the mantissa from its first significant digit on
    long long digitsBeforePoint = 0;  // all mantissa digits before the point, leading zeros too
    long long leadingZeros = 0;       // mantissa digits before the first significant one
    long long exponent = 0;           // its magnitude, capped
    bool negative = false, exponentNegative = false;
    bool seenSign = false, seenPoint = false, seenDigit = false;
    bool inExponent = false, exponentSign = false, exponentDigit = false;

    for (QChar c : text) {
        if (isIgnored(c)) continue;
        if (inExponent) {
            if ((c == u'+' || c == u'-') && !exponentSign && !exponentDigit) {
                exponentSign = true;
                exponentNegative = (c == u'-');
                continue;
            }
            if (isDigit(c)) {
                exponentDigit = true;
                const int d = c.unicode() - u'0';
                exponent = exponent < kExponentCap / 10 ? exponent * 10 + d : kExponentCap;
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
            if (!seenPoint) ++digitsBeforePoint;
            if (digits.empty() && c == u'0')
                ++leadingZeros;
            else
                digits += char(c.unicode());
            continue;
        }
        if (c == u'.' && !seenPoint) {
            seenPoint = true;
            continue;
        }
        if (seenDigit && (c == u'E' || c == u'e' || c == u'D' || c == u'd')) {
            inExponent = true;
            continue;
        }
        break;
    }

    const double zero = negative ? -0.0 : 0.0;
    if (digits.empty()) return zero;  // no digit, or only zeros: any exponent leaves it 0
    while (digits.back() == '0') digits.pop_back();

    // The value lies in [10^magnitude, 10^(magnitude+1)): the decimal position of the first
    // significant digit plus the exponent, whatever the lengths of mantissa and exponent.
    const long long magnitude =
        digitsBeforePoint - leadingZeros - 1 + (exponentNegative ? -exponent : exponent);
    const double infinity = negative ? -std::numeric_limits<double>::infinity()
                                     : std::numeric_limits<double>::infinity();
    // From 1e309 on it is past the largest double (1.8e308); below 1e-324 it is nearer 0 than
    // the smallest one (4.9e-324).
    if (magnitude > 308) return infinity;
    if (magnitude < -324) return zero;

    // Close enough to the range to need exact rounding: the same number as "d.ddde<magnitude>".
    std::string number =
        digits.substr(0, 1) + '.' + digits.substr(1) + 'e' + std::to_string(magnitude);
    double value = 0.0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
    if (result.ec == std::errc::result_out_of_range) return magnitude > 0 ? infinity : zero;
    return negative ? -value : value;
}
