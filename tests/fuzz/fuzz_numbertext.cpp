// SPDX-License-Identifier: GPL-3.0-or-later
// NumberText read back by LeadingNumber: a double's text gives the value rounded to 15 significant
// digits, a single's to 7, as printf and strtod round it, independently of the code under test.

#include "fuzzcheck.h"

namespace {

void check(const QString& text, double value, int significantDigits) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*e", significantDigits - 1, value);
    const double expected = std::strtod(buffer, nullptr);
    FUZZ_CHECK(LeadingNumber(text) == expected,
               text + QStringLiteral(" for %1, expected %2").arg(value, 0, 'g', 17).arg(buffer));
    // Only the characters of a number, a blank or '-' in front, a digit at the end.
    static const QRegularExpression form(QStringLiteral("^[ -][0-9.E+-]*[0-9]$"));
    FUZZ_CHECK(form.match(text).hasMatch(), text);
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
