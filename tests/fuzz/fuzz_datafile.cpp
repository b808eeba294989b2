// SPDX-License-Identifier: GPL-3.0-or-later
// The direction data file reader on any content: it never fails and its fields never hold a
// comma or a line end; a line the writer forms reads back as the texts it was formed from, and
// the plot finds nothing damaged in it.

#include "fuzzcheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray content(reinterpret_cast<const char*>(data), qsizetype(size));
    if (const auto fields = ParseDataFile(content))
        for (const QString& field : {fields->azimuth, fields->elevation})
            FUZZ_CHECK(!field.contains(u',') && !field.contains(u'\r') && !field.contains(u'\n'),
                       QString::fromLatin1(content.toHex()));

    // The first 8 bytes as the azimuth, the next 8 (when present) as the elevation.
    if (const auto azimuth = FuzzValue<double>(data, size, 0)) {
        const auto elevation = FuzzValue<double>(data, size, sizeof(double));
        const QByteArray line = DataFileLine(*azimuth, elevation);
        const QString detail = QString::fromLatin1(line);
        FUZZ_CHECK(line.endsWith("\r\n") && line.count(',') == 1 && line.count('\n') == 1, detail);
        const auto fields = ParseDataFile(line);
        FUZZ_CHECK(fields && fields->azimuth == NumberTextBare(*azimuth) &&
                       fields->elevation == (elevation ? NumberTextBare(*elevation) : QString()),
                   detail);
        // The plot takes every line the writer forms for a number it can hold.
        FUZZ_CHECK(!std::isfinite(*azimuth) || (elevation && !std::isfinite(*elevation)) ||
                       fields->damage.isEmpty(),
                   detail + QStringLiteral(" ") + fields->damage);
    }
    return 0;
}
