// SPDX-License-Identifier: GPL-3.0-or-later
#include <QTest>

#include "numbertext.h"

using namespace Qt::StringLiterals;

// The texts of numbers; replay_leadingnumber reads texts back against strtod over its corpus,
// which holds a text for each of the reader's rules, signs, pasted characters and extremes.
class TestNumbers : public QObject {
    Q_OBJECT

private slots:
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
