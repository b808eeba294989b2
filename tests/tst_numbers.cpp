#include <QTest>
#include <limits>

#include "leadingnumber.h"
#include "numbertext.h"

using namespace Qt::StringLiterals;

class TestNumbers : public QObject {
    Q_OBJECT

private slots:
    void leadingNumber_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected");
        const double inf = qInf(), smallest = std::numeric_limits<double>::denorm_min();
        const QString zeros(400, u'0');
        QTest::newRow("comma ends the number") << u"27,69"_s << 27.0;
        QTest::newRow("blanks inside") << u" 1 2 . 5 "_s << 12.5;
        QTest::newRow("tab and line feed inside") << u"-1\t2\n.5"_s << -12.5;
        QTest::newRow("D exponent") << u"2d-2"_s << 0.02;
        QTest::newRow("sign after exponent digits") << u"1e5-3"_s << 1e5;
        QTest::newRow("overflow") << u"1e400"_s << inf;
        QTest::newRow("ampersand hex is not read") << u"&H10"_s << 0.0;
        QTest::newRow("a sign alone is no number") << u"-."_s << 0.0;

        // The size of a number is its mantissa and exponent together, at any length.
        QTest::newRow("400 digits, exponent -0000001") << "1" + zeros + "e-0000001" << inf;
        QTest::newRow("400 zeros after the point, exponent 0000001")
            << "0." + zeros + "1e0000001" << 0.0;
        QTest::newRow("400 zeros after the point, exponent 402") << "0." + zeros + "15e402" << 15.0;
        QTest::newRow("million zeros after the point, exponent 1000005")
            << "0." + QString(1'000'000, u'0') + "1e1000005" << 1e4;
        QTest::newRow("401 digits, exponent -0000400") << "1" + zeros + "e-0000400" << 1.0;
        QTest::newRow("exponent past long long") << u"-1e99999999999999999999999"_s << -inf;
        QTest::newRow("negative exponent past long long")
            << u"-1e-99999999999999999999999"_s << -0.0;
        QTest::newRow("zero with a huge exponent") << u"0e999999999999999999999"_s << 0.0;
        QTest::newRow("negative zero with a huge exponent")
            << u"-0.0e9999999999999999999"_s << -0.0;
        QTest::newRow("400 zeros with a huge exponent") << zeros + "e99999999999" << 0.0;
        // Near the ends of the range the value is rounded as strtod rounds it.
        QTest::newRow("largest double") << u"1.7976931348623157e308"_s << 1.7976931348623157e308;
        QTest::newRow("rounds up past the largest") << u"1.7976931348623159e308"_s << inf;
        QTest::newRow("half the smallest double") << u"2.4703282292062327e-324"_s << 0.0;
        QTest::newRow("just over half the smallest") << u"2.4703282292062328e-324"_s << smallest;

        // Pasted text: invisible marks dropped, look-alike spaces, minus and digits as ASCII.
        for (char16_t mark : {u'\u200e', u'\u200f', u'\u061c', u'\u202a', u'\u202b', u'\u202c',
                              u'\u202d', u'\u202e', u'\u2066', u'\u2067', u'\u2068', u'\u2069'})
            QTest::addRow("direction mark U+%04X", unsigned(mark))
                << QString(mark) + u'3' + mark + u'5' << 35.0;
        QTest::newRow("right-to-left embedding") << u"\u202b35\u202c"_s << 35.0;
        QTest::newRow("no-break space") << u"\u00a0-3\u00a05"_s << -35.0;
        QTest::newRow("narrow no-break space") << u"1\u202f234.5"_s << 1234.5;
        QTest::newRow("ideographic space") << u"\u3000\uff13\uff15"_s << 35.0;
        QTest::newRow("zero-width space inside") << u"3\u200b5"_s << 35.0;
        QTest::newRow("byte order mark") << u"\ufeff35"_s << 35.0;
        QTest::newRow("soft hyphen") << u"3\u00ad5"_s << 35.0;
        QTest::newRow("minus sign") << u"\u221235"_s << -35.0;
        QTest::newRow("minus sign in the exponent") << u"35e\u22121"_s << 3.5;
        QTest::newRow("Arabic-Indic") << u"\u0663\u0665.\u0665"_s << 35.5;
        QTest::newRow("Extended Arabic-Indic") << u"\u06f3\u06f5"_s << 35.0;
        QTest::newRow("full-width") << u"\uff13\uff15"_s << 35.0;
        QTest::newRow("Devanagari") << u"\u0969\u096b"_s << 35.0;
        QTest::newRow("mathematical bold, two units each") << u"\U0001d7d1\U0001d7d3"_s << 35.0;
        QTest::newRow("superscript two is no digit") << u"3\u00b2"_s << 3.0;
        QTest::newRow("lone surrogate ends the number") << u"3"_s + QChar(0xd835) + u'5' << 3.0;
    }
    // Exactly the expected double, the sign of 0 included.
    void leadingNumber() {
        QFETCH(QString, text);
        QFETCH(double, expected);
        const double value = LeadingNumber(text);
        QCOMPARE(QString::number(value, 'g', 17), QString::number(expected, 'g', 17));
        QCOMPARE(std::signbit(value), std::signbit(expected));
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
