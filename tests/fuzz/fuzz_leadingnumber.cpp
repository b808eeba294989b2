// SPDX-License-Identifier: GPL-3.0-or-later
// LeadingNumber and ReadNumber on any text: what strtod reads from the normalised text, whole only
// when nothing follows a complete number.

#include "fuzzcheck.h"

namespace {

// The text as the reader is to see it: any script's digits as ASCII, the dashes as '-', the small
// and full-width plus as '+', blanks and invisible characters dropped, anything else beyond ASCII
// '?'.
std::string normalised(const QString& text) {
    const std::u32string minus = U"\u2010\u2011\u2012\u2013\u2014\u2015\u2212\ufe58\ufe63\uff0d";
    std::string s;
    for (char32_t c : text.toUcs4()) {
        const QChar::Category category = QChar::category(c);
        if (category == QChar::Number_DecimalDigit) c = U'0' + char32_t(QChar::digitValue(c));
        if (minus.find(c) != std::u32string::npos) c = U'-';
        if (c == 0xfe62 || c == 0xff0b) c = U'+';
        if (category == QChar::Other_Format || category == QChar::Separator_Space) continue;
        if (c != U' ' && c != U'\t' && c != U'\n') s += c < 128 ? char(c) : '?';
    }
    return s;
}

// Sign, digits, one point and a complete exponent (D as E), converted by strtod.
NumberReading reference(const QString& text) {
    const std::string s = normalised(text);
    if (s.empty()) return {0.0, NumberExtent::Blank};
    const auto digitsEnd = [&](std::size_t i) {
        return std::min(s.find_first_not_of("0123456789", i), s.size());
    };
    const std::size_t start = s[0] == '+' || s[0] == '-';
    std::size_t end = digitsEnd(start);
    const bool point = end < s.size() && s[end] == '.';
    if (point) end = digitsEnd(end + 1);
    if (end == start + point) return {0.0, NumberExtent::NoNumber};  // no digit
    std::string number = s.substr(0, end);
    std::size_t taken = end;
    if (end < s.size() && std::string("EeDd").find(s[end]) != std::string::npos) {
        const std::size_t sign = end + 1 < s.size() && (s[end + 1] == '+' || s[end + 1] == '-');
        const std::size_t exponentEnd = digitsEnd(end + 1 + sign);
        if (exponentEnd > end + 1 + sign) {
            number += 'e' + s.substr(end + 1, exponentEnd - end - 1);
            taken = exponentEnd;
        }
    }
    return {std::strtod(number.c_str(), nullptr),
            taken == s.size() ? NumberExtent::Whole : NumberExtent::Partly};
}

bool same(double a, double b) {
    return a == b && std::signbit(a) == std::signbit(b);
}

void check(const QString& text) {
    const NumberReading reading = ReadNumber(text), expected = reference(text);
    const double value = LeadingNumber(text);
    FUZZ_CHECK(
        same(value, expected.value) && same(reading.value, value),
        text + QStringLiteral(" -> %1, strtod %2").arg(value, 0, 'g', 17).arg(expected.value));
    FUZZ_CHECK(reading.extent == expected.extent, text + QStringLiteral(" extent %1, expected %2")
                                                             .arg(int(reading.extent))
                                                             .arg(int(expected.extent)));
    // An appended 'x' leaves the value (even the sign of 0) but not the text one number; a blank
    // changes nothing.
    const NumberReading extended = ReadNumber(text + u'x');
    FUZZ_CHECK(same(extended.value, value) && (extended.extent == NumberExtent::Partly ||
                                               extended.extent == NumberExtent::NoNumber),
               text);
    const NumberReading blank = ReadNumber(text + u' ');
    FUZZ_CHECK(same(blank.value, value) && blank.extent == reading.extent, text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::setlocale(LC_ALL, "C");
    // As typed bytes (Latin-1), pasted text (UTF-8) and arbitrary 16-bit characters.
    const char* bytes = reinterpret_cast<const char*>(data);
    check(QString::fromLatin1(bytes, qsizetype(size)));
    check(QString::fromUtf8(bytes, qsizetype(size)));
    check(QString(reinterpret_cast<const QChar*>(data), qsizetype(size / 2)));
    return 0;
}
