// NumberText read back by LeadingNumber: a double's text gives the value rounded to 15
// significant digits, a single's text the value rounded to 7. The expected rounding comes from
// printf's exponent form and strtod, independently of the code under test.
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "fuzzcheck.h"
#include "leadingnumber.h"
#include "numbertext.h"

namespace {

double roundedTo(double value, int significantDigits) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*e", significantDigits - 1, value);
    return std::strtod(buffer, nullptr);
}

void checkText(const QString& text, double value, double expected) {
    const double read = LeadingNumber(text);
    FUZZ_CHECK(read == expected, text + QStringLiteral(" reads %1, expected %2 for %3")
                                            .arg(read, 0, 'g', 17)
                                            .arg(expected, 0, 'g', 17)
                                            .arg(value, 0, 'g', 17));
    // Only the characters of a number, with a blank or '-' in front.
    FUZZ_CHECK(text.size() >= 2 && (text[0] == u' ' || text[0] == u'-'), text);
    for (QChar c : text.mid(1))
        FUZZ_CHECK(c.isDigit() || c == u'.' || c == u'E' || c == u'+' || c == u'-', text);
    FUZZ_CHECK(!text.endsWith(u'.'), text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::setlocale(LC_ALL, "C");
    if (size >= sizeof(double)) {
        double value;
        std::memcpy(&value, data, sizeof value);
        if (std::isfinite(value)) {
            checkText(NumberText(value), value, roundedTo(value, 15));
            const QString bare = NumberTextBare(value);
            FUZZ_CHECK(LeadingNumber(bare) == roundedTo(value, 15), bare);
        }
    }
    if (size >= sizeof(float)) {
        float value;
        std::memcpy(&value, data + size - sizeof value, sizeof value);
        if (std::isfinite(value))
            checkText(NumberText(value), double(value), roundedTo(double(value), 7));
    }
    return 0;
}
