// SPDX-License-Identifier: GPL-3.0-or-later
// What every fuzz target uses: the code under test, the property check and the input's values.
#pragma once

#include <QRegularExpression>
#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "datafile.h"
#include "leadingnumber.h"
#include "numbertext.h"
#include "startrun.h"

// A broken property ends the run the way a crash does, so that libFuzzer keeps the input.
[[noreturn]] inline void FuzzBroken(const char* condition, const QString& detail) {
    std::fprintf(stderr, "PROPERTY BROKEN: %s (%s)\n", condition, detail.toUtf8().constData());
    std::abort();
}
#define FUZZ_CHECK(condition, detail) ((condition) ? void() : FuzzBroken(#condition, detail))

// The input's bytes at offset as a T, when there are enough of them.
template <typename T>
std::optional<T> FuzzValue(const uint8_t* data, size_t size, size_t offset) {
    if (size < offset + sizeof(T)) return std::nullopt;
    T value;
    std::memcpy(&value, data + offset, sizeof value);
    return value;
}
