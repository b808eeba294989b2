#pragma once

#include <QByteArray>
#include <QString>
#include <cstdio>
#include <cstdlib>

// A broken property ends the run the way a crash does, so that libFuzzer keeps the input.
#define FUZZ_CHECK(condition, detail)                                      \
    do {                                                                   \
        if (!(condition)) {                                                \
            std::fprintf(stderr, "PROPERTY BROKEN: %s (%s)\n", #condition, \
                         QString(detail).toUtf8().constData());            \
            std::abort();                                                  \
        }                                                                  \
    } while (0)

// The input as a text of 16-bit characters, so that any character at all can reach the readers.
inline QString FuzzText(const uint8_t* data, size_t size) {
    return QString(reinterpret_cast<const QChar*>(data), qsizetype(size / 2));
}
