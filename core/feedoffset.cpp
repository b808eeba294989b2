// SPDX-License-Identifier: GPL-3.0-or-later
#include "feedoffset.h"

#include <cmath>
#include <string>

#include "arithmetic.h"
#include "decimalconv.h"
#include "leadingnumber.h"
#include "lookangle.h"
#include "numbertext.h"

QString FormatMask(double value, const QString& mask, QChar decimalSeparator) {
    const qsizetype point = mask.indexOf(u'.');
    const QString integerMask = point < 0 ? mask : mask.left(point);
    const QString fractionMask = point < 0 ? QString() : mask.mid(point + 1);
    const int decimals = int(fractionMask.size());
    if (!std::isfinite(value)) return QString();

    // Fixed notation rounded to the mask's decimals, whatever the locale.
    const std::string fixed = DecimalConv::Fixed(std::fabs(value), decimals);
    const auto dot = fixed.find('.');
    std::string integerDigits = dot == std::string::npos ? fixed : fixed.substr(0, dot);
    std::string fractionDigits = dot == std::string::npos ? std::string() : fixed.substr(dot + 1);

    const bool isZero = integerDigits.find_first_not_of('0') == std::string::npos &&
                        fractionDigits.find_first_not_of('0') == std::string::npos;

    const auto requiredIntegerDigits = std::size_t(integerMask.count(u'0'));
    integerDigits.erase(0, integerDigits.find_first_not_of('0'));
    if (integerDigits.size() < requiredIntegerDigits)
        integerDigits.insert(0, requiredIntegerDigits - integerDigits.size(), '0');

    // Trailing zeros go where the mask has '#'.
    while (!fractionDigits.empty() && fractionDigits.back() == '0' &&
           fractionMask[qsizetype(fractionDigits.size()) - 1] == u'#')
        fractionDigits.pop_back();

    QString text = (value < 0 && !isZero) ? QStringLiteral("-") : QString();
    text += QString::fromLatin1(integerDigits.data(), qsizetype(integerDigits.size()));
    if (point >= 0) text += decimalSeparator;
    text += QString::fromLatin1(fractionDigits.data(), qsizetype(fractionDigits.size()));
    return text;
}

std::optional<double> ReadMasked(const QString& masked, QChar decimalSeparator) {
    bool hasDigit = false;
    for (QChar c : masked) hasDigit = hasDigit || c.isDigit();
    if (!hasDigit) return std::nullopt;
    QString text = masked;
    text.replace(decimalSeparator, u'.');
    return LeadingNumber(text);
}

QString FeedRotationText(const Site& site, SatelliteLongitude satellite2, QChar decimalSeparator) {
    // The angles enter as the texts the program would show for them, read back: 7, 15 and 7
    // significant digits. The round trip looks needless but moves the last digits of the result,
    // and the shown angle must match the published check values.
    const double lambda = LeadingNumber(NumberText(site.longitude));
    const double phi = LeadingNumber(NumberText(site.latitude));
    const double lambda2 = LeadingNumber(NumberText(satellite2.radians));
    const double pi = CalcPi();

    const double ratio =
        Checked::divide(std::sin(lambda - lambda2), std::tan(phi), Checked::onEquator());
    double rho = Checked::value(std::atan(ratio) * 180.0 / pi);
    if (rho < 0) rho = -rho;

    // Satellite 2 east of the site, less than half a turn away: "-"; west of it: "+". The
    // difference is brought into one turn first, so that 358 gives the sign of -2 and a
    // satellite just across the date line counts as the near neighbour it is.
    double east = std::remainder(lambda2 - lambda, 2 * pi);
    if (east <= -pi) east = pi;  // (-180, 180]: half a turn has no side
    QString sign;
    if (east > 0 && east < pi)
        sign = QStringLiteral(" -");
    else if (east < 0)
        sign = QStringLiteral(" +");
    // The longitudes give the sign of the turn as seen north of the equator; south of it the
    // same satellite's polarisation leans the other way, so that "+" is clockwise, as seen from
    // behind the dish, at every site and the legend pictures mean the same turn everywhere.
    if (site.latitude < 0)
        sign = sign == QLatin1String(" -")   ? QStringLiteral(" +")
               : sign == QLatin1String(" +") ? QStringLiteral(" -")
                                             : sign;

    // The shown angle is the number its one-decimal masked text stands for, read back with the
    // separator it was written with. An angle below 0.05 masks to a bare separator: the feed is
    // not turned at all.
    const double shown =
        ReadMasked(FormatMask(rho, QStringLiteral("##.#"), decimalSeparator), decimalSeparator)
            .value_or(0.0);
    return sign + NumberText(shown);
}

QString FeedOffsetText(double differenceDegrees, double focalLength,
                       const QString& wordIfNotNegative, const QString& wordIfNegative,
                       QChar decimalSeparator) {
    const double r = Checked::value(Checked::value(differenceDegrees * CalcPi()) / 180.0);
    const double r5 =
        ReadMasked(FormatMask(r, QStringLiteral("##0.00000"), decimalSeparator), decimalSeparator)
            .value_or(0.0);
    const double distance = Checked::value(std::sin(std::fabs(r5)) * focalLength);
    const QString& word = r5 < 0 ? wordIfNegative : wordIfNotNegative;
    return NumberText(distance).left(8) + QStringLiteral("мм-->") + word;
}
