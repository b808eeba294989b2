// SPDX-License-Identifier: GPL-3.0-or-later
#include "leadingnumber.h"

#include <charconv>
#include <iterator>
#include <limits>
#include <string>

namespace {

bool isIgnored(char32_t c) {
    return c == U' ' || c == U'\t' || c == U'\n';
}
bool isDigit(char32_t c) {
    return c >= U'0' && c <= U'9';
}

// The character the reader takes a character beyond ASCII for, so that text pasted from a web
// page or a phone reads as it looks: a format character (a direction mark, a zero-width space,
// a byte order mark, a soft hyphen) and a space separator (a no-break space) are blanks, the
// minus sign is '-', a decimal digit of any script is that ASCII digit. Anything else stays as
// it is and ends the number.
char32_t asRead(char32_t c) {
    if (c == U'\u2212') return U'-';
    switch (QChar::category(c)) {
        case QChar::Other_Format:
        case QChar::Separator_Space:
            return U' ';
        case QChar::Number_DecimalDigit:
            return U'0' + char32_t(QChar::digitValue(c));
        default:
            return c;
    }
}

// An exponent's magnitude stops growing here: no text is long enough for its mantissa to bring
// such an exponent back into the range of a double, and added to the mantissa's decimal position
// (at most the text's length) it stays well inside a long long.
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

    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t c = text[i].unicode();
        if (c >= 0x80) {  // plain ASCII text never gets here
            if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate())
                c = QChar::surrogateToUcs4(char16_t(c), text[++i].unicode());
            c = asRead(c);
        }
        if (isIgnored(c)) continue;
        if (inExponent) {
            if ((c == U'+' || c == U'-') && !exponentSign && !exponentDigit) {
                exponentSign = true;
                exponentNegative = (c == U'-');
                continue;
            }
            if (isDigit(c)) {
                exponentDigit = true;
                const int d = int(c - U'0');
                exponent = exponent < kExponentCap / 10 ? exponent * 10 + d : kExponentCap;
                continue;
            }
            break;
        }
        if ((c == U'+' || c == U'-') && !seenSign && !seenDigit && !seenPoint) {
            seenSign = true;
            negative = (c == U'-');
            continue;
        }
        if (isDigit(c)) {
            seenDigit = true;
            if (!seenPoint) ++digitsBeforePoint;
            if (digits.empty() && c == U'0')
                ++leadingZeros;
            else
                digits += char(c);
            continue;
        }
        if (c == U'.' && !seenPoint) {
            seenPoint = true;
            continue;
        }
        if (seenDigit && (c == U'E' || c == U'e' || c == U'D' || c == U'd')) {
            inExponent = true;
            continue;
        }
        break;
    }

    if (!seenDigit) return 0.0;  // no number at all: 0, whatever sign came first
    const double zero = negative ? -0.0 : 0.0;
    if (digits.empty()) return zero;  // only zeros: any exponent leaves it 0, as strtod does
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

    // Close enough to the range to need exact rounding: the significant digits as a whole
    // number, with the exponent that puts the first of them at its place.
    char exponentText[24];
    const long long shift = magnitude - (long long)(digits.size() - 1);
    digits += 'e';
    digits.append(exponentText,
                  std::to_chars(std::begin(exponentText), std::end(exponentText), shift).ptr);
    double value = 0.0;
    const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (result.ec == std::errc::result_out_of_range) return magnitude > 0 ? infinity : zero;
    return negative ? -value : value;
}
