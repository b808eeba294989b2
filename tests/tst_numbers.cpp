// SPDX-License-Identifier: GPL-3.0-or-later
#include <QRandomGenerator>
#include <QTest>
#include <cstring>

#include "decimalconv.h"
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

    // The browser build writes and reads numbers through printf and strtod: the same digits as
    // to_chars and from_chars, ties, subnormals and the ends of the range included.
    void printfPath_data() {
        QTest::addColumn<double>("value");
        QTest::newRow("tie rounds to even in fixed") << 2.5;
        QTest::newRow("tie below in binary") << 2.675;
        QTest::newRow("fifteen nines") << 999999999999999.9;
        QTest::newRow("float seven digits") << double(2 / 3.0f);
        QTest::newRow("subnormal") << 4.9406564584124654e-324;
        QTest::newRow("largest") << 1.7976931348623157e308;
        QTest::newRow("random bits") << -1.0;
    }
    void printfPath() {
        QFETCH(double, value);
        QList<double> values;
        if (value >= 0) {
            values << value;
        } else {
            auto* random = QRandomGenerator::global();
            for (int i = 0; i < 20000; ++i) {
                const quint64 bits = random->generate64() & ~(quint64(1) << 63);
                double v;
                std::memcpy(&v, &bits, sizeof v);
                if (std::isfinite(v)) values << v;
            }
        }
        for (const double v : values) {
            for (const int precision : {6, 14, 16})
                QCOMPARE(DecimalConv::ByPrintf::Scientific(v, precision),
                         DecimalConv::Scientific(v, precision));
            if (v < 1e30) QCOMPARE(DecimalConv::ByPrintf::Fixed(v, 2), DecimalConv::Fixed(v, 2));
            std::string digits = DecimalConv::Scientific(v, 16);
            digits.erase(1, 1);
            const auto e = digits.find('e');
            digits.replace(e, std::string::npos,
                           'e' + std::to_string(std::stoi(digits.substr(e + 1)) - 16));
            // Exact, bit for bit: QCOMPARE on doubles would forgive the last bits.
            QVERIFY2(DecimalConv::ByPrintf::ReadScientific(digits).value == v, digits.c_str());
            QVERIFY2(DecimalConv::ReadScientific(digits).value == v, digits.c_str());
        }
    }

    void printfPathOutOfRange_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("outOfRange");
        QTest::newRow("past the largest") << u"18e308"_s << true;
        QTest::newRow("nearer 0 than the smallest") << u"2e-325"_s << true;
        QTest::newRow("rounds up to the smallest") << u"3e-324"_s << false;
        QTest::newRow("subnormal") << u"1e-310"_s << false;
    }
    void printfPathOutOfRange() {
        QFETCH(QString, text);
        QFETCH(bool, outOfRange);
        QCOMPARE(DecimalConv::ByPrintf::ReadScientific(text.toStdString()).outOfRange, outOfRange);
        QCOMPARE(DecimalConv::ReadScientific(text.toStdString()).outOfRange, outOfRange);
    }
};

QTEST_GUILESS_MAIN(TestNumbers)
#include "tst_numbers.moc"
