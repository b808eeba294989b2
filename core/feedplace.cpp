// SPDX-License-Identifier: GPL-3.0-or-later
#include "feedplace.h"

#include <algorithm>
#include <cmath>

#include "numbertext.h"
#include "wgs84.h"

namespace {

// The geostationary orbit, kilometres.
constexpr double kOrbitRadius = 42164.17;

struct Vec {
    double x, y, z;
};

Vec operator-(const Vec& a, const Vec& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
Vec operator+(const Vec& a, const Vec& b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
Vec operator*(double s, const Vec& a) {
    return {s * a.x, s * a.y, s * a.z};
}
double dot(const Vec& a, const Vec& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
Vec cross(const Vec& a, const Vec& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
double length(const Vec& a) {
    return std::sqrt(dot(a, a));
}
Vec unit(const Vec& a) {
    return (1 / length(a)) * a;
}

double degrees(double radians) {
    return radians * 180 / CalcPi();
}

// An angle of a line (a polarisation has no head or tail) brought into (-90, 90].
double lineAngle(double degrees) {
    const double r = std::remainder(degrees, 180.0);
    return r <= -90 ? r + 180 : r;
}

// A satellite's polarisation: the Earth's axis as it appears across the line of sight.
Vec polarisation(const Vec& lineOfSight) {
    const Vec axis{0, 0, 1};
    return unit(axis - dot(axis, lineOfSight) * lineOfSight);
}

// The turn of a polarisation from "up" towards "right": clockwise as seen from behind.
double turn(const Vec& p, const Vec& right, const Vec& up) {
    return degrees(std::atan2(dot(p, right), dot(p, up)));
}

Vec toVec(const EarthVector& v) {
    return {v[0], v[1], v[2]};
}

}  // namespace

EarthVector Vertical(const Site& site) {
    const double lat = site.latitude, lon = double(site.longitude);
    return {std::cos(lat) * std::cos(lon), std::cos(lat) * std::sin(lon), std::sin(lat)};
}

EarthVector LineOfSight(const Site& site, SatelliteLongitude satellite) {
    const double lat = site.latitude;
    const double e2 = kWgs84Flattening * (2 - kWgs84Flattening);
    const double n = kWgs84EquatorialRadiusKm / std::sqrt(1 - e2 * std::sin(lat) * std::sin(lat));
    const Vec vertical = toVec(Vertical(site));
    const Vec position{n * vertical.x, n * vertical.y, n * (1 - e2) * vertical.z};
    const double l = double(satellite.radians);
    const Vec d = unit(Vec{kOrbitRadius * std::cos(l), kOrbitRadius * std::sin(l), 0} - position);
    return {d.x, d.y, d.z};
}

ExactLook LookAt(const Site& site, SatelliteLongitude satellite) {
    const double lon = double(site.longitude);
    const Vec vertical = toVec(Vertical(site)), d = toVec(LineOfSight(site, satellite));
    const Vec east{-std::sin(lon), std::cos(lon), 0};
    const Vec north = cross(vertical, east);
    ExactLook look;
    look.azimuth = degrees(std::atan2(dot(d, east), dot(d, north)));
    if (look.azimuth < 0) look.azimuth += 360;
    look.elevation = degrees(std::asin(std::clamp(dot(d, vertical), -1.0, 1.0)));
    if (const auto aimed = PlaceSecondFeed(site, satellite, satellite)) look.skew = aimed->mainTurn;
    return look;
}

std::optional<FeedPlacement> PlaceSecondFeed(const Site& site, SatelliteLongitude satellite1,
                                             SatelliteLongitude satellite2) {
    const Vec vertical = toVec(Vertical(site));
    const Vec d1 = toVec(LineOfSight(site, satellite1)), d2 = toVec(LineOfSight(site, satellite2));

    // The dish's view: forward on satellite 1, right horizontal, up across both.
    const Vec forward = d1, rightward = cross(forward, vertical);
    if (!(length(rightward) > 1e-12)) return std::nullopt;
    const Vec right = unit(rightward), up = cross(right, forward);

    FeedPlacement p;
    p.elevation1 = degrees(std::asin(std::clamp(dot(d1, vertical), -1.0, 1.0)));
    p.elevation2 = degrees(std::asin(std::clamp(dot(d2, vertical), -1.0, 1.0)));
    const double across = dot(d2, right), along = dot(d2, forward), high = dot(d2, up);
    p.right = degrees(std::atan2(across, along));
    p.up = degrees(std::atan2(high, along));
    const Vec normal = cross(d1, d2);
    const double sine = length(normal), cosine = dot(d1, d2);
    p.separation = degrees(std::atan2(sine, cosine));
    // The focus takes the wave to the opposite side of the axis.
    if (along > 0) {
        p.placeRight = -across / along;
        p.placeUp = -high / along;
    }

    // The second feed's own "right" and "up": the main feed's, turned about the axis at right
    // angles to both lines of sight by the angle between them, the least turn that points the
    // second feed's view at satellite 2.
    Vec right2 = right, up2 = up;
    if (sine > 0) {
        const Vec k = (1 / sine) * normal;
        auto turned = [&](const Vec& v) {
            return cosine * v + sine * cross(k, v) + (dot(k, v) * (1 - cosine)) * k;
        };
        right2 = turned(right);
        up2 = turned(up);
    }
    const double turn1 = turn(polarisation(d1), right, up);
    const double turn2 = turn(polarisation(d2), right2, up2);
    p.mainTurn = lineAngle(turn1);
    p.turnDifference = lineAngle(turn2 - turn1);

    for (double v : {p.elevation1, p.elevation2, p.right, p.up, p.separation, p.mainTurn,
                     p.turnDifference, p.placeRight.value_or(0), p.placeUp.value_or(0)})
        if (!std::isfinite(v)) return std::nullopt;
    return p;
}

namespace {

// "6.1° левее", or "0.0° в сторону" when it shows as no side at all.
QString side(double v, const QString& unit, const QString& ifPositive, const QString& ifNegative,
             const QString& ifNone) {
    const QString figure = TenthsText(std::fabs(v)) + unit;
    if (figure.startsWith(QLatin1String("0.0"))) return figure + ifNone;
    return figure + (v > 0 ? ifPositive : ifNegative);
}

QString sideways(double v, const QString& unit) {
    return side(v, unit, QStringLiteral(" правее"), QStringLiteral(" левее"),
                QStringLiteral(" в сторону"));
}

QString upDown(double v, const QString& unit) {
    return side(v, unit, QStringLiteral(" выше"), QStringLiteral(" ниже"),
                QStringLiteral(" по высоте"));
}

QString turnText(double v) {
    return side(v, QStringLiteral("°"), QStringLiteral(" по часовой стрелке"),
                QStringLiteral(" против часовой стрелки"), QStringLiteral(", не поворачивать"));
}

// Why neither feed can be placed: a satellite below the horizon at the site. Empty when both are
// above it.
QString belowHorizon(const FeedPlacement& p) {
    QString text;
    const double elevations[] = {p.elevation1, p.elevation2};
    for (int i = 0; i < 2; ++i)
        if (elevations[i] < 0)
            text += QStringLiteral(
                        "Спутник %1 здесь ниже горизонта (угол места %2°):\n"
                        "принять его отсюда нельзя.\n")
                        .arg(i + 1)
                        .arg(TenthsText(elevations[i]));
    return text;
}

QString beyondEdge(const FeedPlacement& p) {
    return QStringLiteral(
               "Спутник 2 в %1° от спутника 1, за краем антенны:\n"
               "второй облучатель его не примет.\n")
        .arg(TenthsText(p.separation));
}

// More than about 10 degrees off the axis a feed gets only a part of what the dish collects.
QString farOff(const FeedPlacement& p) {
    if (!(p.separation > 10)) return QString();
    return QStringLiteral(
        "Спутник 2 дальше 10° от спутника 1: облучатель так далеко\n"
        "от оси антенны теряет много сигнала.\n");
}

QString placeText(const FeedPlacement& p, double focalLength) {
    const QString focal = QString::number(focalLength, 'g', 10);
    const double right = *p.placeRight * focalLength, up = *p.placeUp * focalLength;
    const double between = std::hypot(right, up);
    if (!std::isfinite(between))
        return QStringLiteral(
            "Место второго облучателя в мм не показано: фокусное расстояние\n"
            "слишком велико.\n");
    return QStringLiteral(
               "Второй облучатель ставят по другую сторону от основного,\n"
               "от его центра: на %1 и на %2;\n"
               "между центрами облучателей %3 мм.\n"
               "Это для введённого фокусного расстояния %4 мм\n"
               "(у офсетной антенны — от облучателя до центра зеркала).\n"
               "Тип антенны умножает все эти расстояния на одно число: у офсетной\n"
               "оно около 1.04, у прямофокусной — около 1.10 при F/D 0.6,\n"
               "1.21 при 0.4 и 1.35 при 0.3.\n")
        .arg(sideways(right, QStringLiteral(" мм")), upDown(up, QStringLiteral(" мм")),
             TenthsText(between), focal);
}

}  // namespace

QString FeedPlaceToolTip(const FeedPlacement& p, double focalLength, FeedBox box) {
    QString text = belowHorizon(p);
    if (!text.isEmpty()) {
        text += QStringLiteral("Места второго облучателя нет.\n");
    } else if (!p.placeRight) {
        text = beyondEdge(p);
    } else {
        text = QStringLiteral(
                   "Из-за антенны, направленной на спутник 1, спутник 2 виден\n"
                   "на %1 и на %2 спутника 1; между ними %3°.\n")
                   .arg(sideways(p.right, QStringLiteral("°")), upDown(p.up, QStringLiteral("°")),
                        TenthsText(p.separation));
        text += farOff(p) + placeText(p, focalLength);
    }
    if (box == FeedBox::CentreDistance)
        return text + QStringLiteral(
                          "В поле — разность азимутов спутников, взятая как расстояние:\n"
                          "F · sin|ALFA1 − ALFA2|. Она не учитывает наклона дуги спутников\n"
                          "и ближе к экватору больше настоящего сдвига вбок\n"
                          "(на широте 30° — примерно в 1.3 раза).");
    return text + QStringLiteral(
                      "В поле — разность углов места спутников, взятая как расстояние:\n"
                      "F · sin|BETA1 − BETA2|. Она не учитывает изгиба дуги спутников:\n"
                      "два спутника на одной высоте над горизонтом стоят в антенне\n"
                      "не вровень.");
}

QString FeedTurnToolTip(const FeedPlacement& p) {
    QString text = belowHorizon(p);
    if (!text.isEmpty()) {
        text += QStringLiteral("Поворот облучателей не показан.\n");
    } else {
        text = QStringLiteral(
                   "Поворот облучателей вокруг своей оси от вертикали,\n"
                   "если смотреть из-за антенны на спутник:\n"
                   "основной — %1;\n")
                   .arg(turnText(p.mainTurn));
        if (!p.placeRight) {
            text += beyondEdge(p);
        } else {
            const QString difference =
                side(p.turnDifference, QStringLiteral("°"), QStringLiteral(" по часовой стрелке"),
                     QStringLiteral(" против часовой стрелки"), QString());
            text += QStringLiteral("второй — %1\n").arg(turnText(p.secondTurn()));
            text += difference.startsWith(QLatin1String("0.0"))
                        ? QStringLiteral("(так же, как основной).\n")
                        : QStringLiteral("(как основной и ещё %1).\n").arg(difference);
            text += farOff(p);
        }
    }
    return text + QStringLiteral(
                      "В поле — наклон поляризации спутника 2 («+» — по часовой стрелке,\n"
                      "«-» — против): так поворачивают облучатель антенны, направленной\n"
                      "прямо на спутник 2. На антенне, направленной на спутник 1, второй\n"
                      "облучатель поворачивают почти как основной.");
}
