// LeadingNumber on any text: never a failure or NaN; what strtod reads from the same number once
// the ignored characters are gone; it stops at a character that cannot continue a number.

#include "fuzzcheck.h"

namespace {

// The number the text starts with, found independently: drop blanks, tabs and line feeds, take
// sign, digits, one point and a complete exponent (D read as E), and let strtod convert it.
double referenceValue(const QString& text) {
    std::string s;
    for (QChar c : text)
        if (c != u' ' && c != u'\t' && c != u'\n') s += c.unicode() < 128 ? char(c.unicode()) : '?';
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
    // As the bytes a user could type (Latin-1), and as arbitrary 16-bit characters.
    check(QString::fromLatin1(reinterpret_cast<const char*>(data), qsizetype(size)));
    check(QString(reinterpret_cast<const QChar*>(data), qsizetype(size / 2)));
    return 0;
}
