#pragma once

#include <QString>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>

// A broken property ends the run the way a crash does, so that libFuzzer keeps the input.
#define FUZZ_CHECK(condition, detail)                                      \
    do {                                                                   \
        if (!(condition)) {                                                \
            std::fprintf(stderr, "PROPERTY BROKEN: %s (%s)\n", #condition, \
                         QString(detail).toUtf8().constData());            \
            std::abort();                                                  \
        }                                                                  \
    } while (0)

// The input's bytes at offset as a T, when there are enough of them.
template <typename T>
std::optional<T> FuzzValue(const uint8_t* data, size_t size, size_t offset) {
    if (size < offset + sizeof(T)) return std::nullopt;
    T value;
    std::memcpy(&value, data + offset, sizeof value);
    return value;
}
