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
    void leadingNumber_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected");
        QTest::addColumn<NumberExtent>("extent");
        const double inf = qInf();
        const QString zeros(400, u'0');
        QTest::newRow("comma ends the number") << u"27,69"_s << 27.0 << E::Partly;
        QTest::newRow("blank, tab and line feed inside") << u"-1 \t2\n.5"_s << -12.5 << E::Whole;
        // An exponent letter needs its digits; a bare point does not.
        QTest::newRow("exponent letter alone") << u"12e"_s << 12.0 << E::Partly;
        QTest::newRow("exponent sign alone") << u"12D+ "_s << 12.0 << E::Partly;
        QTest::newRow("point last") << u"12."_s << 12.0 << E::Whole;
        QTest::newRow("point first") << u"-.5"_s << -0.5 << E::Whole;
        QTest::newRow("sign alone") << u"-"_s << 0.0 << E::NoNumber;
        QTest::newRow("blanks and a no-break space") << u" \t\u00a0"_s << 0.0 << E::Blank;

        // The size of a number is its mantissa and exponent together, at any length; near the
        // ends of the range it is rounded as strtod rounds it.
        QTest::newRow("400 zeros, exponent 402") << "0." + zeros + "15e402" << 15.0 << E::Whole;
        QTest::newRow("past long long") << u"-1e99999999999999999999999"_s << -inf << E::Whole;
        QTest::newRow("zero, huge exponent") << u"0e999999999999999999999"_s << 0.0 << E::Whole;
        QTest::newRow("rounds past the largest") << u"1.7976931348623159e308"_s << inf << E::Whole;
        QTest::newRow("over half the smallest")  // to the smallest subnormal
            << u"2.4703282292062328e-324"_s << 4.9406564584124654e-324 << E::Whole;

        // Pasted text, one row per class: invisible marks dropped, look-alikes read as ASCII.
        QTest::newRow("direction mark") << u"\u200f3\u200f5"_s << 35.0 << E::Whole;
        QTest::newRow("zero-width space inside") << u"3\u200b5"_s << 35.0 << E::Whole;
        QTest::newRow("byte order mark") << u"\ufeff35"_s << 35.0 << E::Whole;
        QTest::newRow("Arabic-Indic") << u"\u0663\u0665.\u0665"_s << 35.5 << E::Whole;
        QTest::newRow("bold, two units each") << u"\U0001d7d1\U0001d7d3"_s << 35.0 << E::Whole;
        QTest::newRow("superscript two is no digit") << u"3\u00b2"_s << 3.0 << E::Partly;

        // The dashes and pluses a word processor, a web page or a full-width keyboard puts for a
        // sign read as the sign, before ASCII or full-width digits; inside a number they end it.
        const QString minus = u"-\u2010\u2011\u2012\u2013\u2014\u2015\u2212\ufe58\ufe63\uff0d"_s;
        for (const QChar sign : minus + u"+\ufe62\uff0b"_s) {
            const double value = minus.contains(sign) ? -35 : 35;
            const unsigned code = sign.unicode();
            QTest::addRow("U+%04X", code) << sign + u"35"_s << value << E::Whole;
            QTest::addRow("U+%04X, full-width", code)
                << sign + u"\uff13\uff15"_s << value << E::Whole;
            QTest::addRow("U+%04X inside", code) << u"3"_s + sign + u"5"_s << 3.0 << E::Partly;
        }
        QTest::newRow("tilde is no sign") << u"~35"_s << 0.0 << E::NoNumber;
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
