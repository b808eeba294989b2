// SPDX-License-Identifier: GPL-3.0-or-later
#include "leadingnumber.h"

#include <charconv>
#include <iterator>
#include <limits>
#include <string>

#include "decimalconv.h"

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
// minus sign and the dashes typed for it are '-', the small and full-width plus are '+', a
// decimal digit of any script is that ASCII digit. Anything else stays as it is and ends the
// number.
char32_t asRead(char32_t c) {
    switch (c) {
        case U'\u2010':  // hyphen
        case U'\u2011':  // non-breaking hyphen
        case U'\u2012':  // figure dash
        case U'\u2013':  // en dash
        case U'\u2014':  // em dash
        case U'\u2015':  // horizontal bar
        case U'\u2212':  // minus sign
        case U'\ufe58':  // small em dash
        case U'\ufe63':  // small hyphen-minus
        case U'\uff0d':  // full-width hyphen-minus
            return U'-';
        case U'\ufe62':  // small plus
        case U'\uff0b':  // full-width plus
            return U'+';
        default:
            break;
    }
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
    return ReadNumber(text).value;
}

NumberReading ReadNumber(QStringView text) {
    std::string digits;               // the mantissa from its first significant digit on
    long long digitsBeforePoint = 0;  // all mantissa digits before the point, leading zeros too
    long long leadingZeros = 0;       // mantissa digits before the first significant one
    long long exponent = 0;           // its magnitude, capped
    bool negative = false, exponentNegative = false;
    bool seenSign = false, seenPoint = false, seenDigit = false;
    bool inExponent = false, exponentSign = false, exponentDigit = false;
    bool anything = false, stopped = false;  // a character not ignored; one that ended the number
    // The last character taken was a digit or point; a blank came after one, and nothing since.
    bool afterDigit = false, blankAfterDigit = false, blankInside = false;

    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t c = text[i].unicode();
        if (c >= 0x80) {  // plain ASCII text never gets here
            if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate())
                c = QChar::surrogateToUcs4(char16_t(c), text[++i].unicode());
            // An invisible character neither separates two numbers nor joins them.
            if (QChar::category(c) == QChar::Other_Format) continue;
            c = asRead(c);
        }
        if (isIgnored(c)) {
            blankAfterDigit = blankAfterDigit || afterDigit;
            continue;
        }
        afterDigit = isDigit(c) || c == U'.';
        blankInside = blankInside || (blankAfterDigit && afterDigit);
        blankAfterDigit = false;
        anything = true;
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
            stopped = true;
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
        stopped = true;
        break;
    }

    const NumberExtent extent = !anything    ? NumberExtent::Blank
                                : !seenDigit ? NumberExtent::NoNumber
                                : !stopped && (!inExponent || exponentDigit) ? NumberExtent::Whole
                                                                             : NumberExtent::Partly;
    if (!seenDigit)
        return {0.0, extent, blankInside};  // no number at all: 0, whatever sign came first
    const double zero = negative ? -0.0 : 0.0;
    if (digits.empty()) return {zero, extent, blankInside};  // only zeros: 0 whatever the exponent

    while (digits.back() == '0') digits.pop_back();

    // The value lies in [10^magnitude, 10^(magnitude+1)): the decimal position of the first
    // significant digit plus the exponent, whatever the lengths of mantissa and exponent.
    const long long magnitude =
        digitsBeforePoint - leadingZeros - 1 + (exponentNegative ? -exponent : exponent);
    const double infinity = negative ? -std::numeric_limits<double>::infinity()
                                     : std::numeric_limits<double>::infinity();
    // From 1e309 on it is past the largest double (1.8e308); below 1e-324 it is nearer 0 than
    // the smallest one (4.9e-324).
    if (magnitude > 308) return {infinity, extent, blankInside};
    if (magnitude < -324) return {zero, extent, blankInside};

    // Close enough to the range to need exact rounding: the significant digits as a whole
    // number, with the exponent that puts the first of them at its place.
    char exponentText[24];
    const long long shift = magnitude - (long long)(digits.size() - 1);
    digits += 'e';
    digits.append(exponentText,
                  std::to_chars(std::begin(exponentText), std::end(exponentText), shift).ptr);
    const DecimalConv::Read read = DecimalConv::ReadScientific(digits);
    if (read.outOfRange) return {magnitude > 0 ? infinity : zero, extent, blankInside};
    return {negative ? -read.value : read.value, extent, blankInside};
}
