// NumberText read back by LeadingNumber: a double's text gives the value rounded to 15
// significant digits, a single's text the value rounded to 7. The expected rounding comes from
// printf's exponent form and strtod, independently of the code under test.
#include <clocale>
#include <cmath>
#include <cstdint>

#include "fuzzcheck.h"
#include "leadingnumber.h"
#include "numbertext.h"

namespace {

void check(const QString& text, double value, int significantDigits) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*e", significantDigits - 1, value);
    const double expected = std::strtod(buffer, nullptr);
    FUZZ_CHECK(LeadingNumber(text) == expected,
               text + QStringLiteral(" for %1, expected %2").arg(value, 0, 'g', 17).arg(buffer));
    // Only the characters of a number, a blank or '-' in front, no point at the end.
    FUZZ_CHECK(text.size() >= 2 && (text[0] == u' ' || text[0] == u'-') && !text.endsWith(u'.'),
               text);
    for (QChar c : text.mid(1))
        FUZZ_CHECK(c.isDigit() || c == u'.' || c == u'E' || c == u'+' || c == u'-', text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::setlocale(LC_ALL, "C");
    const auto value = FuzzValue<double>(data, size, 0);
    if (value && std::isfinite(*value)) {
        check(NumberText(*value), *value, 15);
        FUZZ_CHECK(NumberTextBare(*value) == NumberText(*value).trimmed(), NumberText(*value));
    }
    const auto single = FuzzValue<float>(data, size, 0);
    if (single && std::isfinite(*single)) check(NumberText(*single), double(*single), 7);
    return 0;
}
