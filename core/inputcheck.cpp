// SPDX-License-Identifier: GPL-3.0-or-later
#include "inputcheck.h"

#include <cmath>

#include "layout.h"
#include "leadingnumber.h"
#include "numbertext.h"

namespace {

enum class BoxKind { Angle, FocalLength, Rotation };

// The highest focal length taken, in millimetres: 100 metres, beyond any dish.
constexpr double kLargestFocalLength = 100000;

// What a screen reader calls the box: the layout's name for it.
QString boxName(const WindowLayout& layout, const char* box) {
    return QString::fromUtf8(layout.control(box)->accessibleName);
}

// The text as typed, in quotes, cut short when it is long (a whole page pasted by mistake).
QString typed(const QString& text) {
    constexpr qsizetype kShown = 40;
    if (text.size() <= kShown) return u'«' + text + u'»';
    qsizetype cut = kShown;
    if (text[cut - 1].isHighSurrogate()) --cut;  // not half a character
    return u'«' + text.left(cut) + QStringLiteral("…»");
}

// One of the two boxes of an angle as typed: "градусы «4043»", or "минут нет" for an empty box.
QString part(const char* what, const char* whatNone, const QString& text) {
    return text.isEmpty() ? QString::fromUtf8(whatNone) + QStringLiteral(" нет")
                          : QString::fromUtf8(what) + u' ' + typed(text);
}

// A number as the result boxes write it, without their leading blank.
QString shown(double value) {
    return NumberText(value).trimmed();
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
    const QString stopped =
        kind == BoxKind::Rotation
            ? QStringLiteral("Рисунок не перестроен, чтобы не показать неверное направление.")
            : QString::fromUtf8(kNotComputed);
    return what + u'\n' + stopped + QStringLiteral("\n\n") + howToType(kind);
}

}  // namespace

std::optional<RefusedInput> CheckStartInputs(const StartInputs& in) {
    const WindowLayout& layout = TorvelLayout();
    const struct {
        const char* box;
        const QString& text;
        BoxKind kind;
    } boxes[] = {{"Text1", in.text1, BoxKind::Angle},        {"Text2", in.text2, BoxKind::Angle},
                 {"Text3", in.text3, BoxKind::Angle},        {"Text4", in.text4, BoxKind::Angle},
                 {"Text5", in.text5, BoxKind::Angle},        {"Text6", in.text6, BoxKind::Angle},
                 {"Text9", in.text9, BoxKind::Angle},        {"Text10", in.text10, BoxKind::Angle},
                 {"Text13", in.text13, BoxKind::FocalLength}};
    for (const auto& b : boxes) {
        if (auto message = partlyRead(boxName(layout, b.box), b.text, b.kind))
            return RefusedInput{QString::fromLatin1(b.box), *message};
    }

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
    if (auto message = partlyRead(boxName(Flin1Layout(), "POZIA"), text, BoxKind::Rotation))
        return RefusedInput{QStringLiteral("POZIA"), *message};
    return std::nullopt;
}
