// SPDX-License-Identifier: GPL-3.0-or-later
#include "sunoutage.h"

#include <cmath>

namespace {

constexpr double kJ2000 = 2451545.0;
constexpr double kUnixEpoch = 2440587.5;
constexpr double kMinute = 1.0 / 1440;

double radians(double degrees) {
    return degrees * M_PI / 180;
}

double angleBetween(const EarthVector& a, const EarthVector& b) {
    const double cx = a[1] * b[2] - a[2] * b[1], cy = a[2] * b[0] - a[0] * b[2],
                 cz = a[0] * b[1] - a[1] * b[0];
    const double dot = a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
    return std::atan2(std::sqrt(cx * cx + cy * cy + cz * cz), dot) * 180 / M_PI;
}

// The sun's angle of the satellite's direction about the Earth's axis, degrees in (-180, 180]:
// 0 when the sun stands in the plane through the axis and the line of sight.
double hourOffset(double jd, double satelliteAngle) {
    const EarthVector s = SunDirection(jd);
    return std::remainder(std::atan2(s[1], s[0]) * 180 / M_PI - satelliteAngle, 360.0);
}

}  // namespace

EarthVector SunDirection(double jd) {
    const double n = jd - kJ2000;
    const double meanLongitude = 280.460 + 0.9856474 * n;
    const double g = radians(357.528 + 0.9856003 * n);
    const double lambda = radians(meanLongitude + 1.915 * std::sin(g) + 0.020 * std::sin(2 * g));
    const double epsilon = radians(23.439 - 0.0000004 * n);
    const double rightAscension =
        std::atan2(std::cos(epsilon) * std::sin(lambda), std::cos(lambda));
    const double declination = std::asin(std::sin(epsilon) * std::sin(lambda));
    const double siderealHours = 18.697374558 + 24.06570982441908 * n;
    const double east = rightAscension - radians(std::fmod(siderealHours, 24.0) * 15);
    return {std::cos(declination) * std::cos(east), std::cos(declination) * std::sin(east),
            std::sin(declination)};
}

double JulianDate(const QDateTime& moment) {
    return kUnixEpoch + double(moment.toMSecsSinceEpoch()) / 86400000.0;
}

QDateTime MomentOfJulianDate(double jd) {
    return QDateTime::fromMSecsSinceEpoch(qint64(std::llround((jd - kUnixEpoch) * 86400000.0)),
                                          Qt::UTC);
}

double OutageAngle(double diameterCm, double frequencyGHz) {
    const double wavelengthCm = 29.9792458 / frequencyGHz;
    return 70 * wavelengthCm / diameterCm / 2 + 0.25;
}

QList<OutageWindow> SunOutages(const Site& site, SatelliteLongitude satellite,
                               const QDateTime& from, double outageAngle) {
    QList<OutageWindow> windows;
    const EarthVector d = LineOfSight(site, satellite);
    const EarthVector up = Vertical(site);
    if (d[0] * up[0] + d[1] * up[1] + d[2] * up[2] <= 0) return windows;
    const double satelliteAngle = std::atan2(d[1], d[0]) * 180 / M_PI;
    const double satelliteDeclination = std::asin(d[2]) * 180 / M_PI;
    auto separation = [&](double jd) { return angleBetween(SunDirection(jd), d); };

    // Once a day the sun crosses the plane of the axis and the line of sight, moving 360 degrees
    // a day about the axis; its closest pass to the satellite lies within minutes of that.
    const double begin = JulianDate(from), finish = begin + 365;
    double crossing = begin - 0.5;
    for (int i = 0; i < 3; ++i) crossing += hourOffset(crossing, satelliteAngle) / 360;
    if (crossing < begin) crossing += 1;
    for (; crossing < finish; crossing += 1) {
        for (int i = 0; i < 2; ++i) crossing += hourOffset(crossing, satelliteAngle) / 360;
        const EarthVector sun = SunDirection(crossing);
        // The sun's declination moves at most 0.4 degree a day: far days need no search.
        if (std::fabs(std::asin(sun[2]) * 180 / M_PI - satelliteDeclination) > outageAngle + 1)
            continue;

        // The closest moment, by golden-section search within 30 minutes of the crossing.
        const double ratio = (std::sqrt(5.0) - 1) / 2;
        double a = crossing - 30 * kMinute, b = crossing + 30 * kMinute;
        while (b - a > 0.1 / 86400) {
            const double c = b - ratio * (b - a), e = a + ratio * (b - a);
            if (separation(c) < separation(e))
                b = e;
            else
                a = c;
        }
        const double closestAt = (a + b) / 2, closest = separation(closestAt);
        if (closest >= outageAngle || closestAt < begin || closestAt >= finish) continue;

        // Each edge to a tenth of a second by halving, within an hour of the closest moment.
        auto edge = [&](double inside, double outside) {
            while (std::fabs(outside - inside) > 0.1 / 86400) {
                const double middle = (inside + outside) / 2;
                if (separation(middle) < outageAngle)
                    inside = middle;
                else
                    outside = middle;
            }
            return (inside + outside) / 2;
        };
        windows.append({MomentOfJulianDate(edge(closestAt, closestAt - 60 * kMinute)),
                        MomentOfJulianDate(edge(closestAt, closestAt + 60 * kMinute)), closest});
    }
    return windows;
}

QList<QList<OutageWindow>> OutagePeriods(const QList<OutageWindow>& windows) {
    QList<QList<OutageWindow>> periods;
    for (const OutageWindow& w : windows) {
        // A day or two without a window inside a run would be one run still; runs half a year
        // apart are two.
        if (periods.isEmpty() || periods.last().last().start.daysTo(w.start) > 30)
            periods.append(QList<OutageWindow>());
        periods.last().append(w);
    }
    return periods;
}
