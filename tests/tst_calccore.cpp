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
    void feedOffset_data();
    void feedOffset();
    void sameRun_data();
    void sameRun();
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
    QTest::newRow("rounds") << 23.48 << "##.#"
                            << "23.5";
    QTest::newRow("point kept") << 10.017 << "##.#"
                                << "10.";
    QTest::newRow("whole") << 5.0 << "##.#"
                           << "5.";
    QTest::newRow("no leading zero") << 0.44 << "##.#"
                                     << ".4";
    QTest::newRow("zero") << 0.0 << "##.#"
                          << ".";
    QTest::newRow("more digits than mask") << 1234.56 << "##.#"
                                           << "1234.6";
    QTest::newRow("negative with zeros") << -0.0554666 << "##0.00000"
                                         << "-0.05547";
    QTest::newRow("positive with zeros") << 0.157931 << "##0.00000"
                                         << "0.15793";
    QTest::newRow("negative rounding to zero") << -0.0000034 << "##0.00000"
                                               << "0.00000";
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
    QTest::addColumn<QString>("minutes");
    QTest::addColumn<QString>("expected");
    QTest::newRow("worked example") << "19"
                                    << "12"
                                    << " + 23.5";
    QTest::newRow("42 east") << "42"
                             << ""
                             << " - 10";
    QTest::newRow("5 east") << "5"
                            << ""
                            << " + 38.2";
    QTest::newRow("30 west") << "-30"
                             << ""
                             << " + 54.7";
    QTest::newRow("east, less than half a turn") << "200"
                                                 << ""
                                                 << " - 22.5";
    QTest::newRow("east, more than half a turn") << "220"
                                                 << ""
                                                 << " + 7";
    QTest::newRow("at the site") << "35"
                                 << "27.69"
                                 << " 0";
    QTest::newRow("below 0.05, west of the site") << "35"
                                                  << "27.6"
                                                  << " + 0";
    QTest::newRow("below 0.05, east of the site") << "35"
                                                  << "27.8"
                                                  << " - 0";
}

void TestCalcCore::feedRotation() {
    QFETCH(QString, degrees);
    QFETCH(QString, minutes);
    QFETCH(QString, expected);
    const float site = float(AngleFromTexts("35", "27.69"));
    const double latitude = AngleFromTexts("32", "48.5");
    const float satellite = float(AngleFromTexts(degrees, minutes));
    QCOMPARE(FeedRotationText(site, latitude, satellite, '.'), expected);
    QCOMPARE(FeedRotationText(site, latitude, satellite, ','), expected);
}

void TestCalcCore::feedOffset_data() {
    QTest::addColumn<double>("difference");  // degrees
    QTest::addColumn<double>("focal");
    QTest::addColumn<QString>("expected");
    QTest::newRow("elevation of the worked example")
        << 44.8168471212995 - double(47.99485f) << 450.0 << " 24.9487мм-->НИЖЕ";
    QTest::newRow("rounds to zero radians") << -0.0002 << 450.0 << " 0мм-->ВЫШЕ";
    QTest::newRow("focal length 0") << -3.0 << 0.0 << " 0мм-->НИЖЕ";
    QTest::newRow("cut after 8 characters") << 90.0 << 1234.56789 << " 1234.56мм-->ВЫШЕ";
    QTest::newRow("no zero before the point") << 30.0 << 1.0 << " .500001мм-->ВЫШЕ";
    QTest::newRow("negative focal length") << 10.0 << -100.0 << "-17.3645мм-->ВЫШЕ";
}

void TestCalcCore::feedOffset() {
    QFETCH(double, difference);
    QFETCH(double, focal);
    QFETCH(QString, expected);
    const QString up = QStringLiteral("ВЫШЕ"), down = QStringLiteral("НИЖЕ");
    QCOMPARE(FeedOffsetText(difference, focal, up, down, '.'), expected);
    QCOMPARE(FeedOffsetText(difference, focal, up, down, ','), expected);
}

namespace {

StartInputs changed(const QStringList& assignments) {
    StartInputs in = workedExample();
    QString* const fields[] = {&in.text1, &in.text2, &in.text3,  &in.text4, &in.text5,
                               &in.text6, &in.text9, &in.text10, &in.text13};
    const char* const names[] = {"Text1", "Text2", "Text3",  "Text4", "Text5",
                                 "Text6", "Text9", "Text10", "Text13"};
    for (const QString& assignment : assignments) {
        const qsizetype eq = assignment.indexOf('=');
        for (int i = 0; i < 9; ++i)
            if (assignment.left(eq) == QLatin1String(names[i])) *fields[i] = assignment.mid(eq + 1);
    }
    return in;
}

}  // namespace

// Inputs that must read as the same numbers give the same run.
void TestCalcCore::sameRun_data() {
    QTest::addColumn<QStringList>("one");
    QTest::addColumn<QStringList>("other");
    QTest::newRow("comma ends the minutes")
        << QStringList{"Text2=27,69"} << QStringList{"Text2=27"};
    QTest::newRow("empty minutes") << QStringList{"Text10="} << QStringList{"Text10=0"};
    QTest::newRow("minutes added to negative degrees")
        << QStringList{"Text9=-10", "Text10=30"} << QStringList{"Text9=-9.5", "Text10="};
    QTest::newRow("negative minutes")
        << QStringList{"Text9=-10", "Text10=-30"} << QStringList{"Text9=-10.5", "Text10="};
    QTest::newRow("blank focal length") << QStringList{"Text13= "} << QStringList{"Text13=0"};
    QTest::newRow("text after the number")
        << QStringList{"Text5=13 deg"} << QStringList{"Text5=13"};
}

void TestCalcCore::sameRun() {
    QFETCH(QStringList, one);
    QFETCH(QStringList, other);
    const StartResult first = RunStart(changed(one), {}, '.');
    const StartResult second = RunStart(changed(other), {}, '.');
    QCOMPARE(first.end, RunEnd::Completed);
    QCOMPARE(first.writes, second.writes);
    QCOMPARE(first.alpha1, second.alpha1);
    QCOMPARE(first.beta1, second.beta1);
}

QTEST_GUILESS_MAIN(TestCalcCore)
#include "tst_calccore.moc"
