// The direction data file reader on any content: it never fails, its fields never hold a comma
// or a line end, and a line the writer forms reads back as the texts it was formed from.
#include <cmath>
#include <cstdint>
#include <cstring>

#include "datafile.h"
#include "fuzzcheck.h"
#include "numbertext.h"

namespace {

void checkField(const QString& field, const QByteArray& content) {
    FUZZ_CHECK(!field.contains(u',') && !field.contains(u'\r') && !field.contains(u'\n'),
               QString::fromLatin1(content.toHex()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray content(reinterpret_cast<const char*>(data), qsizetype(size));
    if (const auto fields = ParseDataFile(content)) {
        checkField(fields->azimuth, content);
        checkField(fields->elevation, content);
        // The first field is the start of the content.
        FUZZ_CHECK(content.startsWith(fields->azimuth.toLatin1()),
                   QString::fromLatin1(content.toHex()));
    }

    // The first 8 bytes as the azimuth, the next 8 (when present) as the elevation.
    if (size >= sizeof(double)) {
        double azimuth;
        std::memcpy(&azimuth, data, sizeof azimuth);
        std::optional<double> elevation;
        if (size >= 2 * sizeof(double)) {
            double value;
            std::memcpy(&value, data + sizeof(double), sizeof value);
            elevation = value;
        }
        const QByteArray line = DataFileLine(azimuth, elevation);
        FUZZ_CHECK(line.endsWith("\r\n") && line.count(',') == 1 && line.count('\n') == 1,
                   QString::fromLatin1(line));
        const auto fields = ParseDataFile(line);
        FUZZ_CHECK(fields.has_value(), QString::fromLatin1(line));
        FUZZ_CHECK(fields->azimuth == NumberTextBare(azimuth), QString::fromLatin1(line));
        FUZZ_CHECK(fields->elevation == (elevation ? NumberTextBare(*elevation) : QString()),
                   QString::fromLatin1(line));
    }
    return 0;
}
