#include <QTest>

#include "feedoffset.h"
#include "lookangle.h"
#include "numbertext.h"
#include "startrun.h"

namespace {

StartInputs workedExample() {
    StartInputs in;
    in.text1 = "35";
    in.text2 = "27.69";
    in.text3 = "32";
    in.text4 = "48.5";
    in.text5 = "13";
    in.text9 = "19";
    in.text10 = "12";
    in.text13 = "450";
    return in;
}

}  // namespace

class TestCalcCore : public QObject {
    Q_OBJECT
private slots:
    void workedExample_data();
    void workedExample();
    void formatMask_data();
    void formatMask();
    void feedRotation_data();
    void feedRotation();
};

void TestCalcCore::workedExample_data() {
    QTest::addColumn<QChar>("separator");
    QTest::newRow("point") << QChar('.');
    QTest::newRow("comma") << QChar(',');
}

void TestCalcCore::workedExample() {
    QFETCH(QChar, separator);
    const StartResult run = RunStart(::workedExample(), {}, separator);
    QCOMPARE(run.end, RunEnd::Completed);
    const QList<BoxWrite> expected = {
        {"Text8", " 217.344291652777"},    {"Text16", " + 23.5"},
        {"Text12", " 208.2955"},           {"Text14", " 24.9487мм-->НИЖЕ"},
        {"Text15", " 70.7734мм-->СПРАВА"}, {"Text7", " 44.8168471212995"},
        {"Text11", " 47.99485"},
    };
    for (int i = 0; i < expected.size(); ++i) {
        QCOMPARE(run.writes.value(i).box, expected[i].box);
        QCOMPARE(run.writes.value(i).text, expected[i].text);
    }
    QCOMPARE(run.writes.size(), expected.size());
}

void TestCalcCore::formatMask_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("expected");
    QTest::newRow("rounds") << 23.48 << "##.#" << "23.5";
    QTest::newRow("point kept") << 10.017 << "##.#" << "10.";
    QTest::newRow("whole") << 5.0 << "##.#" << "5.";
    QTest::newRow("no leading zero") << 0.44 << "##.#" << ".4";
    QTest::newRow("zero") << 0.0 << "##.#" << ".";
    QTest::newRow("more digits than mask") << 1234.56 << "##.#" << "1234.6";
    QTest::newRow("negative with zeros") << -0.0554666 << "##0.00000" << "-0.05547";
    QTest::newRow("positive with zeros") << 0.157931 << "##0.00000" << "0.15793";
    QTest::newRow("negative rounding to zero") << -0.0000034 << "##0.00000" << "0.00000";
}

void TestCalcCore::formatMask() {
    QFETCH(double, value);
    QFETCH(QString, mask);
    QFETCH(QString, expected);
    QCOMPARE(FormatMask(value, mask, '.'), expected);
    QString withComma = expected;
    withComma.replace('.', ',');
    QCOMPARE(FormatMask(value, mask, ','), withComma);
}

void TestCalcCore::feedRotation_data() {
    QTest::addColumn<QString>("degrees");
    QTest::addColumn<QString>("expected");
    QTest::newRow("worked example") << "19.2" << " + 23.5";
    QTest::newRow("42 east") << "42" << " - 10";
    QTest::newRow("5 east") << "5" << " + 38.2";
    QTest::newRow("30 west") << "-30" << " + 54.7";
}

void TestCalcCore::feedRotation() {
    QFETCH(QString, degrees);
    QFETCH(QString, expected);
    const float site = float(AngleFromTexts("35", "27.69"));
    const double latitude = AngleFromTexts("32", "48.5");
    const float satellite = float(AngleFromTexts(degrees, ""));
    QCOMPARE(FeedRotationText(site, latitude, satellite, '.'), expected);
}

QTEST_GUILESS_MAIN(TestCalcCore)
#include "tst_calccore.moc"
