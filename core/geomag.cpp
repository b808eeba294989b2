// SPDX-License-Identifier: GPL-3.0-or-later
#include "geomag.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <cmath>
#include <limits>

#include "wgs84.h"

namespace {

// The model's geomagnetic reference radius, kilometres.
constexpr double kReferenceRadiusKm = 6371.2;

// How many years from its epoch a model is meant for.
constexpr double kModelYears = 5;

// How close to a geographic pole, in degrees of latitude, there is taken to be no declination.
constexpr double kPoleDegrees = 1e-6;

constexpr int kN = kMagneticModelDegree;
using Coefficients = std::array<double, kMagneticCoefficients>;

constexpr int index(int n, int m) {
    return n * (n + 1) / 2 + m;
}

// One degree in radians.
constexpr double kDegree = 3.14159265358979323846 / 180;

// The array under key, which must hold exactly one number per coefficient.
bool readCoefficients(const QJsonObject& object, const QString& key, Coefficients* out) {
    const QJsonValue value = object.value(key);
    if (!value.isArray()) return false;
    const QJsonArray array = value.toArray();
    if (array.size() != kMagneticCoefficients) return false;
    for (int i = 0; i < kMagneticCoefficients; ++i) {
        if (!array[i].isDouble() || !std::isfinite(array[i].toDouble())) return false;
        (*out)[i] = array[i].toDouble();
    }
    return true;
}

bool isDegree(const QJsonValue& value) {
    return value.isDouble() && value.toDouble() == kMagneticModelDegree;
}

// A site on the ellipsoid in geocentric spherical coordinates: the distance from the Earth's
// centre in km, the geocentric latitude in radians, and its sine and cosine.
struct Spherical {
    double radius, latitude, sinLatitude, cosLatitude;
};

// The site's geodetic latitude phi in radians and its height above the ellipsoid.
Spherical toSpherical(double phi, double heightKm) {
    const double e2 = kWgs84Flattening * (2 - kWgs84Flattening);  // the first eccentricity squared
    const double sinPhi = std::sin(phi), cosPhi = std::cos(phi);
    // The radius of curvature in the prime vertical.
    const double rc = kWgs84EquatorialRadiusKm / std::sqrt(1 - e2 * sinPhi * sinPhi);
    const double p = (rc + heightKm) * cosPhi;
    const double z = (rc * (1 - e2) + heightKm) * sinPhi;
    const double r = std::hypot(p, z);
    return {r, std::atan2(z, p), z / r, p / r};
}

// The Schmidt semi-normalised associated Legendre functions of the sine of the geocentric
// latitude, and their derivatives with respect to that latitude, for every (n, m) up to the
// model's degree. Built by the recursions in n for a fixed m, started from the diagonal n = m,
// and differentiated term by term, so the derivatives need no division by the cosine.
struct Legendre {
    Coefficients p{}, dp{};
};

Legendre legendre(double sinLat, double cosLat) {
    Legendre l;
    l.p[index(0, 0)] = 1;
    l.dp[index(0, 0)] = 0;
    for (int n = 1; n <= kN; ++n) {
        // The diagonal: P(1,1) = cos, then P(n,n) = sqrt((2n - 1) / 2n) cos P(n-1,n-1); the
        // factor differs at n = 1 because P(0,0) is not scaled like the m > 0 functions.
        const double k = n == 1 ? 1 : std::sqrt((2.0 * n - 1) / (2.0 * n));
        const double pd = l.p[index(n - 1, n - 1)], dpd = l.dp[index(n - 1, n - 1)];
        l.p[index(n, n)] = k * cosLat * pd;
        l.dp[index(n, n)] = k * (cosLat * dpd - sinLat * pd);
        // Below the diagonal: P(n,m) = ((2n - 1) sin P(n-1,m) - sqrt((n-1)^2 - m^2) P(n-2,m))
        //                              / sqrt(n^2 - m^2), the last term absent for n - 1 = m.
        for (int m = 0; m < n; ++m) {
            const double scale = 1 / std::sqrt(double(n * n - m * m));
            const double a = (2.0 * n - 1) * scale;
            const double b = std::sqrt(double((n - 1) * (n - 1) - m * m)) * scale;
            const double p1 = l.p[index(n - 1, m)], dp1 = l.dp[index(n - 1, m)];
            const double p2 = n - 2 >= m ? l.p[index(n - 2, m)] : 0;
            const double dp2 = n - 2 >= m ? l.dp[index(n - 2, m)] : 0;
            l.p[index(n, m)] = a * sinLat * p1 - b * p2;
            l.dp[index(n, m)] = a * (sinLat * dp1 + cosLat * p1) - b * dp2;
        }
    }
    return l;
}

}  // namespace

bool MagneticModel::covers(double decimalYear) const {
    return decimalYear >= epoch && decimalYear < epoch + kModelYears;
}

std::optional<MagneticModel> LoadMagneticModel(const QByteArray& json) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) return std::nullopt;
    const QJsonObject object = document.object();

    MagneticModel model;
    const QJsonValue name = object.value(u"name"), epoch = object.value(u"epoch");
    if (!name.isString() || name.toString().isEmpty()) return std::nullopt;
    if (!epoch.isDouble() || !std::isfinite(epoch.toDouble())) return std::nullopt;
    if (!isDegree(object.value(u"n_max")) || !isDegree(object.value(u"n_max_sec_var")))
        return std::nullopt;
    model.name = name.toString();
    model.epoch = epoch.toDouble();
    if (!readCoefficients(object, QStringLiteral("main_field_coeff_g"), &model.g) ||
        !readCoefficients(object, QStringLiteral("main_field_coeff_h"), &model.h) ||
        !readCoefficients(object, QStringLiteral("secular_var_coeff_g"), &model.gDot) ||
        !readCoefficients(object, QStringLiteral("secular_var_coeff_h"), &model.hDot))
        return std::nullopt;
    return model;
}

const std::optional<MagneticModel>& Wmm2025() {
    static const std::optional<MagneticModel> model = []() -> std::optional<MagneticModel> {
        QFile file(QStringLiteral(":/geomag/wmm-2025.json"));
        if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
        return LoadMagneticModel(file.readAll());
    }();
    return model;
}

double DecimalYear(const QDate& date) {
    if (!date.isValid()) return std::numeric_limits<double>::quiet_NaN();
    return date.year() + (date.dayOfYear() - 1) / double(date.daysInYear());
}

std::optional<double> MagneticDeclination(const MagneticModel& model, double latitude,
                                          double longitude, double heightKm, double decimalYear) {
    if (!std::isfinite(latitude) || !std::isfinite(longitude) || !std::isfinite(heightKm) ||
        !std::isfinite(decimalYear))
        return std::nullopt;
    if (!(std::abs(latitude) < 90 - kPoleDegrees)) return std::nullopt;

    const double phi = latitude * kDegree, lambda = longitude * kDegree;
    const Spherical site = toSpherical(phi, heightKm);
    const Legendre l = legendre(site.sinLatitude, site.cosLatitude);
    const double years = decimalYear - model.epoch;

    // The field's north, east and down components in the geocentric frame, in nT.
    double north = 0, east = 0, down = 0;
    const double ratio = kReferenceRadiusKm / site.radius;
    double ratioPower = ratio * ratio;
    for (int n = 1; n <= kN; ++n) {
        ratioPower *= ratio;  // (a / r)^(n + 2)
        for (int m = 0; m <= n; ++m) {
            const int i = index(n, m);
            const double g = model.g[i] + years * model.gDot[i];
            const double h = model.h[i] + years * model.hDot[i];
            const double cosM = std::cos(m * lambda), sinM = std::sin(m * lambda);
            const double inPhase = g * cosM + h * sinM;
            north -= ratioPower * inPhase * l.dp[i];
            east += ratioPower * m * (g * sinM - h * cosM) * l.p[i];
            down -= (n + 1) * ratioPower * inPhase * l.p[i];
        }
    }
    east /= site.cosLatitude;

    // Turned from the geocentric to the geodetic vertical; east stays as it is.
    const double tilt = site.latitude - phi;
    north = north * std::cos(tilt) - down * std::sin(tilt);

    const double declination = std::atan2(east, north) / kDegree;
    if (!std::isfinite(declination)) return std::nullopt;
    return declination;
}
