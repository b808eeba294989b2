#include "lookangle.h"

#include <cmath>

#include "arithmetic.h"
#include "leadingnumber.h"

namespace {

QString equatorReason() {
    return QStringLiteral(
        "метод расчёта не работает для места на экваторе (широта 0); "
        "введите широту места");
}

// arctan of tan(delta) / sin(latitude): the azimuth before it is turned into degrees.
double azimuthArctan(float siteLongitude, double latitude, float satelliteLongitude) {
    const double delta = double(siteLongitude) - double(satelliteLongitude);
    const double t =
        Checked::divide(Checked::value(std::tan(delta)), std::sin(latitude), equatorReason());
    return std::atan(t);
}

// arctan of N / D, or empty when D is exactly 0.
std::optional<double> elevationArctan(float siteLongitude, double latitude,
                                      float satelliteLongitude) {
    const double delta = double(siteLongitude) - double(satelliteLongitude);
    const double cosDelta = std::cos(delta), sinDelta = std::sin(delta);
    const double sinLat = std::sin(latitude);
    const double numerator = cosDelta * std::cos(latitude) - 0.1509;
    const double denominator =
        std::sqrt(cosDelta * cosDelta * sinLat * sinLat + sinDelta * sinDelta);
    if (denominator == 0) return std::nullopt;
    return std::atan(Checked::value(numerator / denominator));
}

// The single-precision way to degrees: each of the three steps rounded to single precision.
float singleDegrees(double radians) {
    const float a = Checked::single(radians);
    const float b = Checked::single(double(a) * 180.0);
    return Checked::single(double(b) / CalcPi());
}

}  // namespace

double CalcPi() {
    return 4.0 * std::atan(1.0);
}

double AngleFromTexts(const QString& degrees, const QString& minutes) {
    const double d = Checked::value(LeadingNumber(degrees));
    const double m = Checked::value(LeadingNumber(minutes));
    const double totalMinutes = Checked::value(d * 60.0 + m);
    return Checked::value(Checked::value(totalMinutes * CalcPi()) / 10800.0);
}

double AzimuthDouble(float siteLongitude, double latitude, float satelliteLongitude) {
    const double pi = CalcPi();
    return (azimuthArctan(siteLongitude, latitude, satelliteLongitude) + pi) * 180.0 / pi;
}

float AzimuthSingle(float siteLongitude, double latitude, float satelliteLongitude) {
    return singleDegrees(azimuthArctan(siteLongitude, latitude, satelliteLongitude) + CalcPi());
}

std::optional<double> ElevationDouble(float siteLongitude, double latitude,
                                      float satelliteLongitude) {
    const auto b = elevationArctan(siteLongitude, latitude, satelliteLongitude);
    if (!b) return std::nullopt;
    return *b * 180.0 / CalcPi();
}

std::optional<float> ElevationSingle(float siteLongitude, double latitude,
                                     float satelliteLongitude) {
    const auto b = elevationArctan(siteLongitude, latitude, satelliteLongitude);
    if (!b) return std::nullopt;
    return singleDegrees(*b);
}
