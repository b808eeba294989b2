// The START run on arbitrary box texts. The input is the nine input boxes' texts separated by
// '|' (Text1, Text2, Text3, Text4, Text5, Text6, Text9, Text10, Text13), then optionally ','
// as a tenth field for a comma as the regional decimal separator. Each input is run twice, the
// second time with the values the first run left to carry, as the window does.
#include <cmath>
#include <cstdint>

#include "datafile.h"
#include "fuzzcheck.h"
#include "leadingnumber.h"
#include "lookangle.h"
#include "numbertext.h"
#include "startrun.h"

namespace {

// Every box a run may write, in the order a complete run writes them.
const QStringList kOrder = {"Text8", "Text16", "Text12", "Text14", "Text15", "Text7", "Text11"};

QString describe(const StartInputs& in) {
    return QStringList{in.text1, in.text2, in.text3,  in.text4, in.text5,
                       in.text6, in.text9, in.text10, in.text13}
        .join(u'|');
}

void checkRun(const StartInputs& in, const CarriedValues& carried, QChar separator,
              StartResult& run) {
    run = RunStart(in, carried, separator);
    const QString input = describe(in);

    QStringList boxes;
    for (const BoxWrite& write : run.writes) boxes << write.box;

    // Known boxes only, each at most once, in the fixed order.
    qsizetype last = -1;
    for (const QString& box : boxes) {
        const qsizetype at = kOrder.indexOf(box);
        FUZZ_CHECK(at > last, input + QStringLiteral(" wrote ") + boxes.join(u' '));
        last = at;
    }

    const bool missing = in.text5.isEmpty() || in.text9.isEmpty() || in.text13.isEmpty();
    FUZZ_CHECK(missing == (run.end == RunEnd::MissingInput), input);
    switch (run.end) {
        case RunEnd::MissingInput:
            FUZZ_CHECK(run.writes.isEmpty() && !run.message.isEmpty(), input);
            break;
        case RunEnd::ArithmeticFault:
            // The writes made before the fault: a start of the complete order.
            FUZZ_CHECK(boxes == kOrder.mid(0, boxes.size()), input + u' ' + boxes.join(u' '));
            FUZZ_CHECK(!run.message.isEmpty(), input);
            break;
        case RunEnd::Completed: {
            // Only satellite 1's azimuth; both azimuths and satellite 2's carried elevation; or
            // all.
            const QStringList shortRun = {"Text8", "Text16", "Text12", "Text11"};
            FUZZ_CHECK(boxes == kOrder.mid(0, 1) || boxes == shortRun || boxes == kOrder,
                       input + u' ' + boxes.join(u' '));
            FUZZ_CHECK(run.writes[0].text == NumberText(run.alpha1), input);
            FUZZ_CHECK(boxes.size() == 1 || run.beta1.has_value(), input);
            // Azimuths lie between due east and due west. Exactly 90 or 270 only where
            // tan(delta) / sin(latitude) is so large that its arctangent rounds to a right angle
            // (a site within a hair of the equator); otherwise strictly between.
            FUZZ_CHECK(std::isfinite(run.alpha1) && run.alpha1 >= 90 && run.alpha1 <= 270,
                       input + QStringLiteral(" alpha1 %1").arg(run.alpha1, 0, 'g', 17));
            const double latitude = AngleFromTexts(in.text3, in.text4);
            const double delta = double(float(AngleFromTexts(in.text1, in.text2))) -
                                 double(float(AngleFromTexts(in.text5, in.text6)));
            if (std::fabs(std::tan(delta) / std::sin(latitude)) < 1e12) {
                FUZZ_CHECK(run.alpha1 > 90 && run.alpha1 < 270,
                           input + QStringLiteral(" alpha1 %1").arg(run.alpha1, 0, 'g', 17));
            }
            if (run.beta1) {
                FUZZ_CHECK(std::isfinite(*run.beta1) && std::fabs(*run.beta1) <= 90, input);
            }
            if (boxes.size() > 1) {
                FUZZ_CHECK(std::isfinite(run.carried.alpha2) && std::isfinite(run.carried.beta2),
                           input);
            }
            if (boxes == kOrder) FUZZ_CHECK(run.writes[5].text == NumberText(*run.beta1), input);
            // The data file line holds nothing but the characters of two numbers.
            const QByteArray line = DataFileLine(run.alpha1, run.beta1);
            for (char c : line.chopped(2))
                FUZZ_CHECK(QByteArrayView("0123456789.-E+,").contains(c),
                           QString::fromLatin1(line));
            break;
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QStringList fields =
        QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size)).split(u'|');
    auto field = [&](int i) { return i < fields.size() ? fields[i] : QString(); };
    StartInputs in;
    in.text1 = field(0);
    in.text2 = field(1);
    in.text3 = field(2);
    in.text4 = field(3);
    in.text5 = field(4);
    in.text6 = field(5);
    in.text9 = field(6);
    in.text10 = field(7);
    in.text13 = field(8);
    const QChar separator = field(9) == QStringLiteral(",") ? u',' : u'.';

    StartResult first, second;
    checkRun(in, {}, separator, first);
    checkRun(in, first.carried, separator, second);
    // Nothing else carries over: the same texts give the same writes again, except where the
    // short run shows the elevation it carried.
    if (first.end == RunEnd::Completed && first.writes.size() == kOrder.size())
        FUZZ_CHECK(second.writes == first.writes, describe(in));
    return 0;
}
