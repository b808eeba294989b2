// LeadingNumber on any text: it never fails, never gives NaN, reads what strtod reads from the
// same number once the ignored characters are gone, and stops at a character that cannot
// continue a number.
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzzcheck.h"
#include "leadingnumber.h"

namespace {

// The number the text starts with, found independently: drop blanks, tabs and line feeds, take
// sign, digits, one point and a complete exponent (D read as E), and let strtod convert it.
double referenceValue(const QString& text) {
    std::string s;
    for (QChar c : text)
        if (c != u' ' && c != u'\t' && c != u'\n') s += c.unicode() < 128 ? char(c.unicode()) : '?';
    auto digit = [&](std::size_t i) { return i < s.size() && s[i] >= '0' && s[i] <= '9'; };
    std::size_t i = 0;
    std::string number;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) number += s[i++];
    std::size_t digits = 0;
    for (; digit(i); ++i, ++digits) number += s[i];
    if (i < s.size() && s[i] == '.') number += s[i++];
    for (; digit(i); ++i, ++digits) number += s[i];
    if (digits == 0) return 0.0;
    if (i < s.size() && std::string("EeDd").find(s[i]) != std::string::npos) {
        std::size_t j = i + 1;
        std::string exponent = "e";
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) exponent += s[j++];
        if (digit(j)) {
            for (; digit(j); ++j) exponent += s[j];
            number += exponent;
        }
    }
    return std::strtod(number.c_str(), nullptr);
}

void check(const QString& text) {
    const double value = LeadingNumber(text);
    FUZZ_CHECK(!std::isnan(value), text);
    const double reference = referenceValue(text);
    FUZZ_CHECK(
        value == reference && std::signbit(value) == std::signbit(reference),
        text +
            QStringLiteral(" -> %1, strtod %2").arg(value, 0, 'g', 17).arg(reference, 0, 'g', 17));
    // 'x' never continues a number, so appending it changes nothing, not even the sign of 0.
    const double extended = LeadingNumber(text + u'x');
    FUZZ_CHECK(extended == value && std::signbit(extended) == std::signbit(value), text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::setlocale(LC_ALL, "C");
    // Once as the bytes a user could type (Latin-1 covers digits, signs, letters, blanks), once
    // as arbitrary 16-bit characters.
    check(QString::fromLatin1(reinterpret_cast<const char*>(data), qsizetype(size)));
    check(FuzzText(data, size));
    return 0;
}
