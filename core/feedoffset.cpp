#include "feedoffset.h"

#include <charconv>
#include <cmath>
#include <string>

#include "arithmetic.h"
#include "leadingnumber.h"
#include "lookangle.h"
#include "numbertext.h"

QString FormatMask(double value, const QString& mask, QChar decimalSeparator) {
    const qsizetype point = mask.indexOf(u'.');
    const QString integerMask = point < 0 ? mask : mask.left(point);
    const QString fractionMask = point < 0 ? QString() : mask.mid(point + 1);
    const int decimals = int(fractionMask.size());
    if (!std::isfinite(value)) return QString();

    // Fixed notation rounded to the mask's decimals; to_chars ignores the locale.
    std::string fixed(400 + std::size_t(decimals), '\0');
    const auto result = std::to_chars(fixed.data(), fixed.data() + fixed.size(), std::fabs(value),
                                      std::chars_format::fixed, decimals);
    fixed.resize(std::size_t(result.ptr - fixed.data()));
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

QString FeedRotationText(float siteLongitude, double latitude, float satellite2Longitude,
                         QChar decimalSeparator) {
    // The angles enter as their shown texts read back: 7, 15 and 7 significant digits.
    const double site = LeadingNumber(NumberText(siteLongitude));
    const double lat = LeadingNumber(NumberText(latitude));
    const double satellite = LeadingNumber(NumberText(satellite2Longitude));
    const double pi = CalcPi();

    const double ratio = Checked::divide(
        std::sin(site - satellite), std::tan(lat),
        QStringLiteral("метод расчёта не работает для места на экваторе (широта 0)"));
    double rho = Checked::value(std::atan(ratio) * 180.0 / pi);
    if (rho < 0) rho = -rho;

    QString sign;
    if (site < satellite && satellite < site + pi)
        sign = QStringLiteral(" -");
    else if (site > satellite || satellite > site + pi)
        sign = QStringLiteral(" +");

    // An angle below 0.05 masks to a bare separator: the feed is not turned at all.
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
