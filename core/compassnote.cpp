// SPDX-License-Identifier: GPL-3.0-or-later
#include "compassnote.h"

#include <cmath>

#include "numbertext.h"

namespace {

// Whether the declination shows as 0.0, with no side.
bool noSide(double degrees) {
    return TenthsText(std::fabs(degrees)) == QLatin1String("0.0");
}

// The declination to 0.1 degree with its side, "5.2° восточное"; a bare "0.0°" when it rounds to
// no side at all.
QString declinationText(double degrees) {
    if (noSide(degrees)) return QStringLiteral("0.0°");
    return TenthsText(std::fabs(degrees)) +
           (degrees > 0 ? QStringLiteral("° восточное") : QStringLiteral("° западное"));
}

QString modelAndDate(const SiteDeclination& d) {
    return QStringLiteral("модель %1, дата %2").arg(d.model, d.date.toString(u"dd.MM.yyyy"));
}

// Why there is no declination to show, or an empty text when there is one.
QString missing(const SiteDeclination& d, const QString& consequence) {
    if (d.model.isEmpty())
        return QStringLiteral("Модель магнитного поля не встроена в программу:\n") + consequence;
    if (!d.covered)
        return QStringLiteral("Модель %1 не рассчитана на дату %2:\n")
                   .arg(d.model, d.date.toString(u"dd.MM.yyyy")) +
               consequence;
    if (!d.degrees)
        return QStringLiteral(
                   "Магнитное склонение здесь не определено\n(полюс или широта за "
                   "пределами ±90°; %1):\n")
                   .arg(modelAndDate(d)) +
               consequence;
    return QString();
}

}  // namespace

SiteDeclination DeclinationAt(const std::optional<MagneticModel>& model, double latitude,
                              double longitude, const QDate& date) {
    SiteDeclination d;
    d.date = date;
    if (!model) return d;
    d.model = model->name;
    const double year = DecimalYear(date);
    d.covered = model->covers(year);
    if (d.covered) d.degrees = MagneticDeclination(*model, latitude, longitude, 0, year);
    return d;
}

SiteDeclination DeclinationAt(const Site& site, const QDate& date) {
    const double degree = 180 / CalcPi();
    return DeclinationAt(Wmm2025(), site.latitude * degree, double(site.longitude) * degree, date);
}

double MagneticAzimuth(double trueAzimuth, double declination) {
    double a = std::fmod(trueAzimuth - declination, 360.0);
    if (a < 0) a += 360;
    // A hair below 0 comes back as 360 exactly; -0 is 0 too.
    return a >= 360 || a == 0 ? 0.0 : a;
}

QString AzimuthToolTip(double shownAzimuth, const SiteDeclination& d) {
    const QString trueAzimuth =
        QStringLiteral("В поле — истинный азимут, от географического севера.");
    const QString none = missing(d, QStringLiteral("магнитный азимут не показан.\n"));
    if (!none.isEmpty()) return none + trueAzimuth;
    QString magnetic = TenthsText(MagneticAzimuth(shownAzimuth, *d.degrees));
    // Just below a full turn rounds to 360.0, which is north: 0.0.
    if (magnetic == QLatin1String("360.0")) magnetic = QStringLiteral("0.0");
    return QStringLiteral("Азимут по компасу (магнитный): %1°\nМагнитное склонение: %2\n(%3).\n")
               .arg(magnetic, declinationText(*d.degrees), modelAndDate(d)) +
           trueAzimuth;
}

QString RotationNote(const SiteDeclination& d) {
    const QString none =
        missing(d, QStringLiteral("склонение места последнего расчёта не показано."));
    if (!none.isEmpty()) return none;
    const double degrees = *d.degrees;
    const QString heading = QStringLiteral("Склонение места последнего расчёта: %1\n(%2).\n")
                                .arg(declinationText(degrees), modelAndDate(d));
    if (noSide(degrees))
        return heading + QStringLiteral(
                             "Магнитный север здесь совпадает с истинным: крест поворачивать "
                             "не нужно.");
    // Typed as the box reads it: east positive, west with its minus.
    const QString toMagnetic = TenthsText(degrees), toTrue = TenthsText(-degrees);
    return heading + QStringLiteral(
                         "Введите %1 — и NORTH толстого креста встанет на магнитный север\n"
                         "относительно тонкого (истинного) креста.\n"
                         "Линия на спутник и «alfa=» всегда отложены на истинный азимут\n"
                         "от NORTH толстого креста: при %1 линия не показывает на спутник.\n"
                         "Если тонкий крест положен по стрелке компаса, введите %2:\n"
                         "тогда толстый крест стоит по истинным сторонам света,\n"
                         "и линия показывает на спутник.")
                         .arg(toMagnetic, toTrue);
}

QString WithNote(const QString& toolTip, const QString& note) {
    return note.isEmpty() ? toolTip : toolTip + QStringLiteral("\n\n") + note;
}
