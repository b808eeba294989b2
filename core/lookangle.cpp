// SPDX-License-Identifier: GPL-3.0-or-later
#include "lookangle.h"

#include <cmath>

#include "arithmetic.h"
#include "leadingnumber.h"

namespace {

// The difference of the two single-precision longitudes, exact in double precision.
double longitudeDifference(const Site& site, SatelliteLongitude satellite) {
    return double(site.longitude) - double(satellite.radians);
}

// arctan of tan(delta) / sin(latitude): the azimuth before it is turned into degrees.
double azimuthArctan(const Site& site, SatelliteLongitude satellite) {
    const double delta = longitudeDifference(site, satellite);
    const double t = Checked::divide(Checked::value(std::tan(delta)), std::sin(site.latitude),
                                     Checked::onEquator());
    return std::atan(t);
}

// arctan of N / D, or empty when D is exactly 0.
std::optional<double> elevationArctan(const Site& site, SatelliteLongitude satellite) {
    const double delta = longitudeDifference(site, satellite);
    const double cosDelta = std::cos(delta), sinDelta = std::sin(delta);
    const double sinLat = std::sin(site.latitude);
    // 0.1509 stands for the ratio of the Earth's radius to the orbit's (0.15127 exactly); the
    // method's own constant is kept, since the shown elevations depend on it to the last digit.
    const double numerator = cosDelta * std::cos(site.latitude) - 0.1509;
    // Evaluated in this form: a rearranged denominator rounds differently.
    const double denominator =
        std::sqrt(cosDelta * cosDelta * sinLat * sinLat + sinDelta * sinDelta);
    if (denominator == 0) return std::nullopt;
    return std::atan(Checked::value(numerator / denominator));
}

// The single-precision way to degrees: each of the three steps rounded to single precision, which
// decides the last digits of satellite 2's azimuth and elevation.
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

double AzimuthDouble(const Site& site, SatelliteLongitude satellite) {
    const double pi = CalcPi();
    return (azimuthArctan(site, satellite) + pi) * 180.0 / pi;
}

float AzimuthSingle(const Site& site, SatelliteLongitude satellite) {
    return singleDegrees(azimuthArctan(site, satellite) + CalcPi());
}

namespace {

// Half a turn either way, then the one value that can round up to a full turn (an azimuth a hair
// below 180 plus 180) taken back to 0.
template <typename T>
T turnedHalfCircle(T azimuth) {
    const T turned = azimuth < T(180) ? azimuth + T(180) : azimuth - T(180);
    return turned >= T(360) ? turned - T(360) : turned;
}

}  // namespace

double ShownAzimuth(const Site& site, double methodAzimuth) {
    return site.latitude < 0 ? turnedHalfCircle(methodAzimuth) : methodAzimuth;
}

float ShownAzimuth(const Site& site, float methodAzimuth) {
    return site.latitude < 0 ? turnedHalfCircle(methodAzimuth) : methodAzimuth;
}

std::optional<double> ElevationDouble(const Site& site, SatelliteLongitude satellite) {
    const auto b = elevationArctan(site, satellite);
    if (!b) return std::nullopt;
    return *b * 180.0 / CalcPi();
}

std::optional<float> ElevationSingle(const Site& site, SatelliteLongitude satellite) {
    const auto b = elevationArctan(site, satellite);
    if (!b) return std::nullopt;
    return singleDegrees(*b);
}
