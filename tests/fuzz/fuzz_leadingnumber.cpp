// SPDX-License-Identifier: GPL-3.0-or-later
// LeadingNumber on any text: never a failure or NaN; what strtod reads from the same number once
// the text is normalised and the ignored characters are gone; it stops at a character that
// cannot continue a number.

#include "fuzzcheck.h"

namespace {

// The text as the reader is to see it, found independently: over the text's code points, a
// decimal digit of any script as its ASCII digit, the minus sign U+2212 as '-', format characters
// and space separators dropped with blanks, tabs and line feeds; anything else beyond ASCII as '?'.
std::string normalised(const QString& text) {
    std::string s;
    for (char32_t c : text.toUcs4()) {
        const QChar::Category category = QChar::category(c);
        if (category == QChar::Number_DecimalDigit) c = U'0' + char32_t(QChar::digitValue(c));
        if (c == 0x2212) c = U'-';
        if (category == QChar::Other_Format || category == QChar::Separator_Space) continue;
        if (c != U' ' && c != U'\t' && c != U'\n') s += c < 128 ? char(c) : '?';
    }
    return s;
}

// The number the text starts with: take sign, digits, one point and a complete exponent (D read
// as E) from the normalised text, and let strtod convert it.
double referenceValue(const QString& text) {
    const std::string s = normalised(text);
    const auto digitsEnd = [&](std::size_t i) {
        return std::min(s.find_first_not_of("0123456789", i), s.size());
    };
    const std::size_t start = !s.empty() && (s[0] == '+' || s[0] == '-');
    std::size_t end = digitsEnd(start);
    const bool point = end < s.size() && s[end] == '.';
    if (point) end = digitsEnd(end + 1);
    if (end == start + point) return 0.0;  // no digit
    std::string number = s.substr(0, end);
    if (end < s.size() && std::string("EeDd").find(s[end]) != std::string::npos) {
        const std::size_t sign = end + 1 < s.size() && (s[end + 1] == '+' || s[end + 1] == '-');
        const std::size_t exponentEnd = digitsEnd(end + 1 + sign);
        if (exponentEnd > end + 1 + sign) number += 'e' + s.substr(end + 1, exponentEnd - end - 1);
    }
    return std::strtod(number.c_str(), nullptr);
}

void check(const QString& text) {
    const double value = LeadingNumber(text), reference = referenceValue(text);
    FUZZ_CHECK(value == reference && std::signbit(value) == std::signbit(reference),
               text + QStringLiteral(" -> %1, strtod %2").arg(value, 0, 'g', 17).arg(reference));
    // 'x' never continues a number, so appending it changes nothing, not even the sign of 0.
    const double extended = LeadingNumber(text + u'x');
    FUZZ_CHECK(extended == value && std::signbit(extended) == std::signbit(value), text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::setlocale(LC_ALL, "C");
    // As the bytes a user could type (Latin-1), as pasted text (UTF-8), and as arbitrary 16-bit
    // characters.
    const char* bytes = reinterpret_cast<const char*>(data);
    check(QString::fromLatin1(bytes, qsizetype(size)));
    check(QString::fromUtf8(bytes, qsizetype(size)));
    check(QString(reinterpret_cast<const QChar*>(data), qsizetype(size / 2)));
    return 0;
}
