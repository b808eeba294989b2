#include <QTest>

#include "leadingnumber.h"
#include "numbertext.h"

using namespace Qt::StringLiterals;

class TestNumbers : public QObject {
    Q_OBJECT

private slots:
    void leadingNumber_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected");
        QTest::newRow("comma ends the number") << u"27,69"_s << 27.0;
        QTest::newRow("blanks inside") << u" 1 2 . 5 "_s << 12.5;
        QTest::newRow("tab and line feed inside") << u"-1\t2\n.5"_s << -12.5;
        QTest::newRow("D exponent") << u"2d-2"_s << 0.02;
        QTest::newRow("overflow") << u"1e400"_s << qInf();
        QTest::newRow("ampersand hex is not read") << u"&H10"_s << 0.0;
    }
    void leadingNumber() {
        QFETCH(QString, text);
        QFETCH(double, expected);
        QCOMPARE(LeadingNumber(text), expected);
    }

    // A single row's value is rounded to a float and gets that float's 7-digit text.
    void numberText_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<bool>("single");
        QTest::addColumn<QString>("expected");
        QTest::newRow("negative zero") << -0.0 << false << u" 0"_s;
        QTest::newRow("fifteen digits") << 217.34429165277701 << false << u" 217.344291652777"_s;
        QTest::newRow("negative below one") << -0.25 << false << u"-.25"_s;
        QTest::newRow("just above limit") << 0.0001 << false << u" .0001"_s;
        QTest::newRow("below limit") << -0.000015 << false << u"-1.5E-05"_s;
        QTest::newRow("large fixed") << 999999999999999.0 << false << u" 999999999999999"_s;
        QTest::newRow("rounds up to exponent form") << 999999999999999.9 << false << u" 1E+15"_s;
        QTest::newRow("three-digit exponent") << 1.5e300 << false << u" 1.5E+300"_s;
        QTest::newRow("single ten to seven") << 1e7 << true << u" 1E+07"_s;
        QTest::newRow("single half") << 0.5 << true << u" .5"_s;
    }
    void numberText() {
        QFETCH(double, value);
        QFETCH(bool, single);
        QFETCH(QString, expected);
        QCOMPARE(single ? NumberText(float(value)) : NumberText(value), expected);
    }
};

QTEST_GUILESS_MAIN(TestNumbers)
#include "tst_numbers.moc"
