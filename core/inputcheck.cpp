// SPDX-License-Identifier: GPL-3.0-or-later
#include "inputcheck.h"

#include <cmath>
#include <tuple>

#include "arithmetic.h"
#include "layout.h"
#include "leadingnumber.h"
#include "lookangle.h"
#include "numbertext.h"

QString QuotedText(const QString& text) {
    constexpr qsizetype kShown = 40;
    qsizetype cut = text.size();
    if (cut > kShown) {
        cut = kShown;
        if (text[cut - 1].isHighSurrogate()) --cut;  // not half a character
    }
    QString shown = text.left(cut);
    // A line break or tab inside the quotes would break the message's lines apart.
    for (QChar& c : shown) {
        const QChar::Category category = c.category();
        if (category == QChar::Other_Control || category == QChar::Separator_Line ||
            category == QChar::Separator_Paragraph)
            c = u' ';
    }
    return u'«' + shown + (cut < text.size() ? QStringLiteral("…»") : QStringLiteral("»"));
}

namespace {

enum class BoxKind { Angle, FocalLength, Rotation };

// The highest focal length taken, in millimetres: 100 metres, beyond any dish.
constexpr double kLargestFocalLength = 100000;

// What a screen reader calls the box: the layout's name for it.
QString boxName(const WindowLayout& layout, const char* box) {
    return QString::fromUtf8(layout.control(box)->accessibleName);
}

QString typed(const QString& text) {
    return QuotedText(text);
}

// One of the two boxes of an angle as typed: "градусы «4043»", or "минут нет" for an empty box.
QString part(const char* what, const char* whatNone, const QString& text) {
    return text.isEmpty() ? QString::fromUtf8(whatNone) + QStringLiteral(" нет")
                          : QString::fromUtf8(what) + u' ' + typed(text);
}

// A number as the result boxes write it, without their leading blank and with a zero before a
// bare point (".5" reads as a slip in a sentence).
QString shown(double value) {
    QString text = NumberText(value).trimmed();
    if (text.startsWith(u'.') || text.startsWith(QLatin1String("-.")))
        text.insert(text.indexOf(u'.'), u'0');
    return text;
}

const char* const kNotComputed = "Расчёт не выполнен, чтобы не выдать неверный результат.";

QString howToType(BoxKind kind) {
    switch (kind) {
        case BoxKind::Angle:
            return QStringLiteral(
                "Как ввести: одно число, без букв, слов и знаков ° и ′.\n"
                "– Дробную часть отделяют точкой: 27.69, а не 27,69.\n"
                "– Южную широту и западную долготу вводят со знаком минус, одинаковым у градусов "
                "и у минут: 26°12′ ю.ш. — это «-26» и «-12», 74°30′ з.д. — «-74» и «-30». Буквы "
                "N, S, E, W, с., ю., в., з. не пишут.\n"
                "– Минуты вводят в их собственное поле, справа от градусов.");
        case BoxKind::FocalLength:
            return QStringLiteral(
                "Как ввести: одно число миллиметров, без «мм» и других слов.\n"
                "– Дробную часть отделяют точкой: 562.5, а не 562,5.");
        case BoxKind::Rotation:
            return QStringLiteral(
                "Как ввести: одно число градусов, без знака °.\n"
                "– Дробную часть отделяют точкой: -20.5, а не -20,5.\n"
                "– Плюс — поворот по часовой стрелке, минус — против.");
    }
    return {};
}

QString stoppedText(BoxKind kind) {
    return kind == BoxKind::Rotation
               ? QStringLiteral("Рисунок не перестроен, чтобы не показать неверное направление.")
               : QString::fromUtf8(kNotComputed);
}

// The whole message: what is wrong, that nothing was done, and how to type the box.
QString refusal(const QString& what, BoxKind kind) {
    return what + u'\n' + stoppedText(kind) + QStringLiteral("\n\n") + howToType(kind);
}

// Two numbers with blanks between them, which the reader would join into one ("35 27.69" reads
// 3527.69): none when the text is one number.
std::optional<QString> twoNumbers(const QString& name, const QString& text, BoxKind kind,
                                  const QString& degreesName = {},
                                  const QString& minutesName = {}) {
    const NumberReading reading = ReadNumber(text);
    if (reading.extent != NumberExtent::Whole || !reading.blankInside) return std::nullopt;
    QString what = QStringLiteral(
                       "В поле «%1» введено %2 — это два числа через пробел: программа "
                       "прочла бы их как одно число %3.\n")
                       .arg(name, typed(text), shown(reading.value));
    switch (kind) {
        case BoxKind::Angle:
            what += QStringLiteral(
                        "Градусы и минуты вводят каждые в своё поле: градусы — в поле «%1», "
                        "минуты — в поле «%2» (35°27.69′ — это «35» и «27.69»).")
                        .arg(degreesName, minutesName);
            break;
        case BoxKind::FocalLength:
            what += QStringLiteral(
                "Фокусное расстояние вводят одним числом, без пробелов: 1200, "
                "а не 1 200.");
            break;
        case BoxKind::Rotation:
            what += QStringLiteral(
                "Угол вводят одним числом градусов, без пробелов: 20.5, а не "
                "20 5.");
            break;
    }
    return refusal(what, kind);
}

// The message for a text that is not one number, or none when it is one (or blank).
std::optional<QString> partlyRead(const QString& name, const QString& text, BoxKind kind) {
    const NumberReading reading = ReadNumber(text);
    if (reading.extent == NumberExtent::Blank || reading.extent == NumberExtent::Whole)
        return std::nullopt;
    const QString what =
        reading.extent == NumberExtent::NoNumber
            ? QStringLiteral(
                  "В поле «%1» введено %2 — это не число: программа прочла бы его как 0.")
                  .arg(name, typed(text))
            : QStringLiteral(
                  "В поле «%1» введено %2 — это не одно число: программа прочла бы его как %3, "
                  "отбросив остальное.")
                  .arg(name, typed(text), shown(reading.value));
    return refusal(what, kind);
}

}  // namespace

namespace {

// One angle typed as degrees and minutes.
struct AngleBoxes {
    const char* degreesBox;
    const char* minutesBox;
    const QString& degrees;
    const QString& minutes;
    const char* zeroMeans;  // what a degrees box read as 0 would put where
    bool longitude;
};

// A minutes text of three or more digits, such as "485" or "2769", with the point probably left
// out: the same digits with a point after the first two ("48.5", "27.69"), or after the first
// when those two make 60 or more. Empty for any other text.
QString slippedPoint(const QString& text) {
    QString digits = text.trimmed();
    QString sign;
    if (digits.startsWith(u'-') || digits.startsWith(u'+')) {
        if (digits.startsWith(u'-')) sign = QStringLiteral("-");
        digits.remove(0, 1);
    }
    if (digits.size() < 3) return QString();
    for (QChar c : digits)
        if (c < u'0' || c > u'9') return QString();
    const int head = digits.left(2).toInt() < 60 ? 2 : 1;
    QString fraction = digits.mid(head);
    while (fraction.endsWith(u'0')) fraction.chop(1);
    return sign + digits.left(head) + (fraction.isEmpty() ? QString() : u'.' + fraction);
}

// Whether the angle can be held as the calculation holds a longitude: in single precision.
bool holdable(const QString& degrees, const QString& minutes) {
    try {
        Checked::single(AngleFromTexts(degrees, minutes));
        return true;
    } catch (const ArithmeticFault&) {
        return false;
    }
}

std::optional<RefusedInput> checkAngle(const WindowLayout& layout, const AngleBoxes& a) {
    const QString degreesName = boxName(layout, a.degreesBox);
    const QString minutesName = boxName(layout, a.minutesBox);
    auto refuse = [](const char* box, const QString& message) {
        return RefusedInput{QString::fromLatin1(box), message};
    };

    // An empty degrees box reads 0: a place on a meridian or the equator nobody typed.
    if (ReadNumber(a.degrees).extent == NumberExtent::Blank) {
        return refuse(a.degreesBox,
                      refusal(QStringLiteral("Поле «%1» %2: программа прочла бы его как 0° — %3.\n"
                                             "Введите градусы; для 0° — «0».")
                                  .arg(degreesName,
                                       a.degrees.isEmpty() ? QStringLiteral("пусто")
                                                           : QStringLiteral("заполнено пробелами"),
                                       QString::fromUtf8(a.zeroMeans)),
                              BoxKind::Angle));
    }
    for (const auto& [box, name, text] : {std::tuple{a.degreesBox, degreesName, &a.degrees},
                                          std::tuple{a.minutesBox, minutesName, &a.minutes}}) {
        if (auto message = partlyRead(name, *text, BoxKind::Angle)) return refuse(box, *message);
        if (auto message = twoNumbers(name, *text, BoxKind::Angle, degreesName, minutesName))
            return refuse(box, *message);
    }

    const double degrees = LeadingNumber(a.degrees), minutes = LeadingNumber(a.minutes);
    // 485 minutes would be 8 degrees 5 minutes added without a word.
    if (!(std::fabs(minutes) < 60)) {
        QString what = QStringLiteral("Поле «%1»: введено %2").arg(minutesName, typed(a.minutes));
        if (std::isfinite(minutes)) what += QStringLiteral(" — это %1′").arg(shown(minutes));
        what += QStringLiteral(
            ", а минуты бывают только от 0 до 59.99 (у западной долготы и южной широты — от 0 "
            "до -59.99).");
        const QString meant = slippedPoint(a.minutes);
        if (!meant.isEmpty())
            what += QStringLiteral("\nМожет быть, пропущена точка и имелось в виду %1?")
                        .arg(typed(meant));
        return refuse(a.minutesBox, refusal(what, BoxKind::Angle));
    }

    // "-74" and "30" add up to -73.5 degrees, where 74°30' west was meant; "-0" counts as minus.
    const bool degreesNegative = std::signbit(degrees);
    if ((degreesNegative && minutes > 0) || (degrees > 0 && minutes < 0)) {
        const char* box = degreesNegative ? a.minutesBox : a.degreesBox;  // the one without minus
        return refuse(
            box, QStringLiteral("Поля «%1» и «%2»: градусы %3 и минуты %4 — с разными знаками; "
                                "программа сложила бы их в %5°.\n"
                                "У градусов и минут одного угла знак должен быть один и тот же: "
                                "западную долготу и южную широту вводят с минусом у обоих "
                                "(74°30′ з.д. — «-74» и «-30», 0°30′ ю.ш. — «-0» и «-30»), "
                                "восточную долготу и северную широту — без минуса у обоих.\n")
                         .arg(degreesName, minutesName, typed(a.degrees), typed(a.minutes),
                              shown((degrees * 60 + minutes) / 60)) +
                     QString::fromUtf8(kNotComputed));
    }

    if (a.longitude && !holdable(a.degrees, a.minutes)) {
        return refuse(a.degreesBox,
                      refusal(QStringLiteral("Поле «%1»: введено %2 — такую долготу программа не "
                                             "может вычислить.\nДолготу вводят в градусах: "
                                             "восточную от 0 до 180, западную — со знаком минус, "
                                             "от 0 до -180.")
                                  .arg(degreesName, typed(a.degrees)),
                              BoxKind::Angle));
    }
    return std::nullopt;
}

}  // namespace

std::optional<RefusedInput> CheckStartInputs(const StartInputs& in) {
    const WindowLayout& layout = TorvelLayout();
    const AngleBoxes angles[] = {
        {"Text1", "Text2", in.text1, in.text2, "место на нулевом меридиане (Гринвич)", true},
        {"Text3", "Text4", in.text3, in.text4, "место на экваторе", false},
        {"Text5", "Text6", in.text5, in.text6, "спутник 1 на долготе 0°", true},
        {"Text9", "Text10", in.text9, in.text10, "спутник 2 на долготе 0°", true}};
    for (const AngleBoxes& angle : angles)
        if (auto refused = checkAngle(layout, angle)) return refused;
    const QString focalName = boxName(layout, "Text13");
    if (auto message = partlyRead(focalName, in.text13, BoxKind::FocalLength))
        return RefusedInput{QStringLiteral("Text13"), *message};
    if (auto message = twoNumbers(focalName, in.text13, BoxKind::FocalLength))
        return RefusedInput{QStringLiteral("Text13"), *message};

    // Every text is now a whole number or blank. A latitude beyond the pole: the degrees box when
    // the degrees alone are, else the minutes box that takes it there. A latitude that is not a
    // number at all (infinite degrees less infinite minutes) is refused the same way.
    const double degrees = LeadingNumber(in.text3), minutes = LeadingNumber(in.text4);
    const double totalMinutes = degrees * 60 + minutes;  // as the calculation adds them
    if (!(std::fabs(totalMinutes) <= 90 * 60)) {
        const char* box = !(std::fabs(degrees) <= 90) ? "Text3" : "Text4";
        return RefusedInput{
            QString::fromLatin1(box),
            QStringLiteral("Поле «%1»: широта места (%2, %3) читается как %4°, а широта не "
                           "бывает больше 90° ни к северу, ни к югу.\n")
                    .arg(boxName(layout, box), part("градусы", "градусов", in.text3),
                         part("минуты", "минут", in.text4), shown(totalMinutes / 60)) +
                QString::fromUtf8(kNotComputed) +
                QStringLiteral(
                    "\n\nКак ввести: градусы и минуты — в разные поля (40°43′ — это «40» и "
                    "«43»); южную широту — со знаком минус у градусов и у минут (26°12′ ю.ш. — "
                    "«-26» и «-12»).")};
    }

    const double focal = LeadingNumber(in.text13);
    if (!(focal > 0 && focal <= kLargestFocalLength)) {
        return RefusedInput{
            QStringLiteral("Text13"),
            QStringLiteral("Поле «%1»: введено %2, это читается как %3 мм, а фокусное "
                           "расстояние антенны должно быть больше 0 и не больше %4 мм.\n")
                    .arg(boxName(layout, "Text13"), typed(in.text13), shown(focal),
                         shown(kLargestFocalLength)) +
                QString::fromUtf8(kNotComputed) +
                QStringLiteral(
                    "\n\nКак ввести: фокусное расстояние в миллиметрах, одним числом, дробную "
                    "часть — через точку: 450 или 562.5.")};
    }
    return std::nullopt;
}

std::optional<RefusedInput> CheckRotationInput(const QString& text) {
    const QString name = boxName(Flin1Layout(), "POZIA");
    if (auto message = partlyRead(name, text, BoxKind::Rotation))
        return RefusedInput{QStringLiteral("POZIA"), *message};
    if (auto message = twoNumbers(name, text, BoxKind::Rotation))
        return RefusedInput{QStringLiteral("POZIA"), *message};
    // The plot holds the angle in single precision.
    if (!ToSingle(LeadingNumber(text))) {
        return RefusedInput{
            QStringLiteral("POZIA"),
            refusal(QStringLiteral("В поле «%1» введено %2 — такой угол слишком велик для "
                                   "рисунка.")
                        .arg(name, typed(text)),
                    BoxKind::Rotation)};
    }
    return std::nullopt;
}
