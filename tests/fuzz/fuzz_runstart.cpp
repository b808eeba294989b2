// SPDX-License-Identifier: GPL-3.0-or-later
// The START run on box texts Text1|Text2|Text3|Text4|Text5|Text6|Text9|Text10|Text13, a tenth
// field ',' for a decimal comma; run twice, the second time with what the first carried, as the
// window does. It refuses exactly the texts not one number, the slips an installer makes with
// degrees and minutes, and impossible values.

#include "fuzzcheck.h"

namespace {

// Every box a run may write, in the order a complete run writes them.
const QStringList kOrder = {"Text8", "Text16", "Text12", "Text14", "Text15", "Text7", "Text11"};

// Two numbers typed into one box: blanks between two digits or points, invisible characters
// left out.
bool twoNumbers(const QString& text) {
    static const QRegularExpression invisible(QStringLiteral("\\p{Cf}"));
    static const QRegularExpression split(QStringLiteral("[\\d.]\\s+[\\d.]"),
                                          QRegularExpression::UseUnicodePropertiesOption);
    return split.match(QString(text).remove(invisible)).hasMatch();
}

bool notOneNumber(const QString& text) {
    const NumberExtent extent = ReadNumber(text).extent;
    return (extent != NumberExtent::Whole && extent != NumberExtent::Blank) || twoNumbers(text);
}

// Each angle in turn: a blank degrees box; the degrees, then the minutes, not one number; minutes
// of 60 or more in size; opposite signs (the box without the minus); a longitude past single
// precision. Then the focal length not one number; a latitude beyond a pole (the degrees box when
// the degrees alone are); a focal length not in (0, 100000]. Empty when every box is taken.
QString refusedBox(const StartInputs& in) {
    const struct {
        const char *degreesBox, *minutesBox;
        const QString &degrees, &minutes;
        bool longitude;
    } angles[] = {{"Text1", "Text2", in.text1, in.text2, true},
                  {"Text3", "Text4", in.text3, in.text4, false},
                  {"Text5", "Text6", in.text5, in.text6, true},
                  {"Text9", "Text10", in.text9, in.text10, true}};
    for (const auto& a : angles) {
        if (ReadNumber(a.degrees).extent == NumberExtent::Blank) return a.degreesBox;
        if (notOneNumber(a.degrees)) return a.degreesBox;
        if (notOneNumber(a.minutes)) return a.minutesBox;
        const double d = LeadingNumber(a.degrees), m = LeadingNumber(a.minutes);
        if (!(std::fabs(m) < 60)) return a.minutesBox;
        if (std::signbit(d) && m > 0) return a.minutesBox;
        if (d > 0 && m < 0) return a.degreesBox;
        const double radians = (d * 60 + m) * (4 * std::atan(1.0)) / 10800;
        if (a.longitude && !(std::fabs(radians) <= 3.4028234663852886e38)) return a.degreesBox;
    }
    if (notOneNumber(in.text13)) return "Text13";
    const double degrees = LeadingNumber(in.text3), minutes = LeadingNumber(in.text4);
    if (!(std::fabs(degrees * 60 + minutes) <= 5400))
        return degrees > 90 || degrees < -90 ? "Text3" : "Text4";
    const double focal = LeadingNumber(in.text13);
    if (!(focal > 0 && focal <= 100000)) return "Text13";
    return {};
}

StartResult checkedRun(const StartInputs& in, const CarriedValues& carried, QChar separator,
                       const QString& input) {
    const StartResult run = RunStart(in, carried, separator);
    QStringList boxes;
    for (const BoxWrite& write : run.writes) boxes << write.box;
    const QString detail = input + QStringLiteral(" wrote ") + boxes.join(u' ');

    const bool missing = in.text5.isEmpty() || in.text9.isEmpty() || in.text13.isEmpty();
    FUZZ_CHECK(missing == (run.end == RunEnd::MissingInput), detail);
    FUZZ_CHECK(run.end == RunEnd::Completed || !run.message.isEmpty(), detail);
    const QString refused = missing ? QString() : refusedBox(in);
    FUZZ_CHECK(refused.isEmpty() == (run.end != RunEnd::RefusedInput) && run.box == refused,
               detail + QStringLiteral(" refused %1, expected %2").arg(run.box, refused));
    if (run.end == RunEnd::MissingInput || run.end == RunEnd::RefusedInput) {
        FUZZ_CHECK(boxes.isEmpty() && run.carried.beta2 == carried.beta2, detail);
        return run;
    }
    // Known boxes in the fixed order: a fault keeps the writes made before it; a completed run
    // writes satellite 1's azimuth only, both azimuths and the carried elevation, or all.
    if (run.end == RunEnd::ArithmeticFault)
        FUZZ_CHECK(boxes == kOrder.mid(0, boxes.size()), detail);
    // The feed boxes' tooltips belong to feed boxes this run wrote and show only numbers.
    for (auto it = run.feedToolTips.cbegin(); it != run.feedToolTips.cend(); ++it)
        FUZZ_CHECK(boxes.contains(it.key()) && !it.value().contains(QLatin1String("nan")) &&
                       !it.value().contains(QLatin1String("inf")),
                   detail + QStringLiteral(" ") + it.value());
    if (run.end != RunEnd::Completed) return run;
    FUZZ_CHECK(boxes == kOrder.mid(0, 1) || boxes == kOrder ||
                   boxes == QStringList({"Text8", "Text16", "Text12", "Text11"}),
               detail);
    FUZZ_CHECK(run.writes[0].text == NumberText(run.alpha1), detail);
    // Azimuths lie in the southern half, due east to due west, for a site north of the equator;
    // for one south of it in the northern half, 0 <= a < 360. Both azimuths alike.
    const bool south = run.site.latitude < 0;
    auto inItsHalf = [south](double a) {
        return south ? a >= 0 && a < 360 && (a <= 90 || a >= 270) : a >= 90 && a <= 270;
    };
    FUZZ_CHECK(inItsHalf(run.alpha1),
               detail + QStringLiteral(" alpha1 %1").arg(run.alpha1, 0, 'g', 17));
    FUZZ_CHECK(boxes.size() == 1 || (run.alpha2 && run.writes[2].text == NumberText(*run.alpha2) &&
                                     inItsHalf(double(*run.alpha2))),
               detail);
    FUZZ_CHECK(boxes.size() == 1 || (run.beta1 && std::fabs(*run.beta1) <= 90), detail);
    return run;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString input = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const QStringList f = input.split(u'|');
    const StartInputs in{f.value(0), f.value(1), f.value(2), f.value(3), f.value(4),
                         f.value(5), f.value(6), f.value(7), f.value(8)};
    const QChar separator = f.value(9) == QStringLiteral(",") ? u',' : u'.';
    const StartResult first = checkedRun(in, {}, separator, input);
    const StartResult second = checkedRun(in, first.carried, separator, input);
    // Nothing else carries over (the short run shows the elevation it carried).
    if (first.end == RunEnd::Completed && first.writes.size() == kOrder.size())
        FUZZ_CHECK(second.writes == first.writes, input);
    return 0;
}
