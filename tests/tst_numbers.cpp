// SPDX-License-Identifier: GPL-3.0-or-later
#include <QTest>

#include "leadingnumber.h"
#include "numbertext.h"

using namespace Qt::StringLiterals;
using E = NumberExtent;
Q_DECLARE_METATYPE(NumberExtent)

class TestNumbers : public QObject {
    Q_OBJECT

private slots:
    // The reader's rules, a row each; replay_leadingnumber checks every sign, pasted character and
    // extreme size in its corpus against strtod.
    void leadingNumber_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected");
        QTest::addColumn<NumberExtent>("extent");
        QTest::newRow("comma ends the number") << u"27,69"_s << 27.0 << E::Partly;
        QTest::newRow("blank, tab and line feed inside") << u"-1 \t2\n.5"_s << -12.5 << E::Whole;
        // An exponent letter needs its digits; a bare point does not.
        QTest::newRow("exponent letter alone") << u"12e"_s << 12.0 << E::Partly;
        QTest::newRow("exponent sign alone") << u"12D+ "_s << 12.0 << E::Partly;
        QTest::newRow("point last") << u"12."_s << 12.0 << E::Whole;
        QTest::newRow("point first") << u"-.5"_s << -0.5 << E::Whole;
        QTest::newRow("sign alone") << u"-"_s << 0.0 << E::NoNumber;
        QTest::newRow("blanks and a no-break space") << u" \t\u00a0"_s << 0.0 << E::Blank;
    }
    // Exactly the expected double, the sign of 0 included.
    void leadingNumber() {
        QFETCH(QString, text);
        QFETCH(double, expected);
        QFETCH(NumberExtent, extent);
        const NumberReading reading = ReadNumber(text);
        for (double value : {LeadingNumber(text), reading.value}) {
            QCOMPARE(QString::number(value, 'g', 17), QString::number(expected, 'g', 17));
            QCOMPARE(std::signbit(value), std::signbit(expected));
        }
        QCOMPARE(reading.extent, extent);
    }

    // A single row's value is rounded to a float and gets that float's 7-digit text.
    void numberText_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<bool>("single");
        QTest::addColumn<QString>("expected");
        QTest::newRow("negative zero") << -0.0 << false << u" 0"_s;
        QTest::newRow("fifteen digits") << 1 / 3.0 << false << u" .333333333333333"_s;
        QTest::newRow("seven digits") << 2 / 3.0 << true << u" .6666667"_s;
        QTest::newRow("negative below one") << -0.25 << false << u"-.25"_s;
        QTest::newRow("at the lower limit") << 0.0001 << false << u" .0001"_s;
        QTest::newRow("below the lower limit") << -0.000015 << false << u"-1.5E-05"_s;
        QTest::newRow("largest fixed") << 999999999999999.0 << false << u" 999999999999999"_s;
        QTest::newRow("rounds up to exponent form") << 999999999999999.9 << false << u" 1E+15"_s;
        QTest::newRow("single, largest fixed") << 9999999.0 << true << u" 9999999"_s;
        QTest::newRow("single, ten to seven") << 1e7 << true << u" 1E+07"_s;
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
