// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <cmath>
#include <limits>
#include <optional>

// An arithmetic step of the calculation that has no valid result: a division by zero, a result
// that is not finite, or a value too large for single precision. The run stops at that step.
struct ArithmeticFault {
    QString reason;  // for the user, in plain words
};

// The value held in single precision, or nothing when it lies beyond single precision's range.
inline std::optional<float> ToSingle(double v) {
    if (!std::isfinite(v) || std::fabs(v) > double(std::numeric_limits<float>::max()))
        return std::nullopt;
    return float(v);
}

namespace Checked {

inline QString tooLarge() {
    return QStringLiteral("одно из введённых чисел слишком велико для расчёта");
}

// The method divides by the sine and the tangent of the latitude.
inline QString onEquator() {
    return QStringLiteral(
        "метод расчёта не работает для места на экваторе (широта 0); введите широту места");
}

// A double-precision step result; not finite means the step overflowed.
inline double value(double v) {
    if (!std::isfinite(v)) throw ArithmeticFault{tooLarge()};
    return v;
}

inline double divide(double numerator, double denominator, const QString& reasonIfZero) {
    if (denominator == 0) throw ArithmeticFault{reasonIfZero};
    return value(numerator / denominator);
}

// A value held in single precision; one beyond its range overflows.
inline float single(double v) {
    if (const auto s = ToSingle(v)) return *s;
    throw ArithmeticFault{tooLarge()};
}

}  // namespace Checked
