#include <QDir>
#include <QTest>
#include <cmath>
#include <limits>

#include "appdir.h"
#include "datafile.h"
#include "leadingnumber.h"
#include "numbertext.h"

class TestNumbers : public QObject {
    Q_OBJECT
private slots:
    void leadingNumber_data();
    void leadingNumber();
    void numberTextDouble_data();
    void numberTextDouble();
    void numberTextSingle_data();
    void numberTextSingle();
    void appDir_data();
    void appDir();
    void dataFileLine();
    void parseDataFile_data();
    void parseDataFile();
};

void TestNumbers::leadingNumber_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");
    QTest::newRow("plain") << "35" << 35.0;
    QTest::newRow("decimal") << "27.69" << 27.69;
    QTest::newRow("comma ends the number") << "27,69" << 27.0;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("letters") << "abc" << 0.0;
    QTest::newRow("blanks inside") << " 1 2 . 5 " << 12.5;
    QTest::newRow("tabs and line feeds") << "\t-1\n0" << -10.0;
    QTest::newRow("minus") << "-10" << -10.0;
    QTest::newRow("plus") << "+7.5" << 7.5;
    QTest::newRow("no zero before point") << "-.25" << -0.25;
    QTest::newRow("second point stops") << "1.2.3" << 1.2;
    QTest::newRow("exponent") << "1.5E3" << 1500.0;
    QTest::newRow("D exponent") << "2d-2" << 0.02;
    QTest::newRow("exponent without digits") << "7e" << 7.0;
    QTest::newRow("exponent sign without digits") << "7e+x" << 7.0;
    QTest::newRow("letter after number") << "12abc" << 12.0;
    QTest::newRow("sign alone") << "-" << 0.0;
    QTest::newRow("point alone") << "." << 0.0;
    QTest::newRow("exponent without mantissa") << "e5" << 0.0;
    QTest::newRow("underflow") << "1e-400" << 0.0;
    QTest::newRow("subnormal") << "1e-310" << 1e-310;
    QTest::newRow("overflow") << "1e400" << std::numeric_limits<double>::infinity();
    QTest::newRow("negative overflow") << "-1e400" << -std::numeric_limits<double>::infinity();
    QTest::newRow("huge exponent digits") << "1e999999999999" << std::numeric_limits<double>::infinity();
    QTest::newRow("zero with huge exponent") << "0e999999" << 0.0;
    QTest::newRow("small mantissa, big exponent") << "0.0001e310" << 1e306;
    QTest::newRow("ampersand hex is not read") << "&H10" << 0.0;
}

void TestNumbers::leadingNumber() {
    QFETCH(QString, text);
    QFETCH(double, expected);
    QCOMPARE(LeadingNumber(text), expected);
}

void TestNumbers::numberTextDouble_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("zero") << 0.0 << " 0";
    QTest::newRow("negative zero") << -0.0 << " 0";
    QTest::newRow("whole") << 217.0 << " 217";
    QTest::newRow("fifteen digits") << 217.34429165277701 << " 217.344291652777";
    QTest::newRow("half") << 0.5 << " .5";
    QTest::newRow("negative below one") << -0.25 << "-.25";
    QTest::newRow("just above limit") << 0.0001 << " .0001";
    QTest::newRow("below limit") << 0.00001 << " 1E-05";
    QTest::newRow("below limit mantissa") << -0.000015 << "-1.5E-05";
    QTest::newRow("large fixed") << 999999999999999.0 << " 999999999999999";
    QTest::newRow("ten to fifteen") << 1e15 << " 1E+15";
    QTest::newRow("rounds up to exponent form") << 999999999999999.9 << " 1E+15";
    QTest::newRow("three-digit exponent") << 1.5e300 << " 1.5E+300";
    QTest::newRow("rounding carries") << 0.99999999999999999 << " 1";
    QTest::newRow("trailing zeros") << 24.9487 << " 24.9487";
}

void TestNumbers::numberTextDouble() {
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(NumberText(value), expected);
}

void TestNumbers::numberTextSingle_data() {
    QTest::addColumn<float>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("azimuth") << 208.29550170898438f << " 208.2955";
    QTest::newRow("elevation") << 47.994850158691406f << " 47.99485";
    QTest::newRow("seven digits") << 1234567.0f << " 1234567";
    QTest::newRow("ten to seven") << 1e7f << " 1E+07";
    QTest::newRow("single value of 20.4999999") << float(20.4999999) << " 20.5";
    QTest::newRow("negative") << -20.5f << "-20.5";
    QTest::newRow("half") << 0.5f << " .5";
}

void TestNumbers::numberTextSingle() {
    QFETCH(float, value);
    QFETCH(QString, expected);
    QCOMPARE(NumberText(value), expected);
}

void TestNumbers::appDir_data() {
    QTest::addColumn<QString>("reported");
    QTest::addColumn<QString>("expected");
    QTest::newRow("drive root") << "C:\\" << "C:";
    QTest::newRow("unix root") << "/" << "";
    QTest::newRow("windows folder") << "C:\\Program Files\\Torvel" << "C:\\Program Files\\Torvel";
    QTest::newRow("unix folder") << "/opt/torvel" << "/opt/torvel";
    QTest::newRow("only one separator removed") << "//" << "/";
}

void TestNumbers::appDir() {
    QFETCH(QString, reported);
    QFETCH(QString, expected);
    QCOMPARE(AppDirFrom(reported), expected);
    // Joining a name gives the root's file again, not a doubled separator.
    QCOMPARE(AppFilePath(AppDirFrom(reported), "rlin1.txt"),
             expected + QDir::separator() + "rlin1.txt");
}

void TestNumbers::dataFileLine() {
    QCOMPARE(DataFileLine(217.344291652777, 44.8168471212995),
             QByteArray("217.344291652777,44.8168471212995\r\n"));
    QCOMPARE(DataFileLine(217.344291652777, std::nullopt), QByteArray("217.344291652777,\r\n"));
    QCOMPARE(DataFileLine(180, -0.5), QByteArray("180,-.5\r\n"));
}

void TestNumbers::parseDataFile_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("azimuth");
    QTest::addColumn<QString>("elevation");
    QTest::newRow("written line") << QByteArray("217.344291652777,44.8168471212995\r\n") << true
                                  << "217.344291652777" << "44.8168471212995";
    QTest::newRow("no elevation") << QByteArray("217.3,\r\n") << true << "217.3" << "";
    QTest::newRow("fields on two lines") << QByteArray("217.3\r\n44\r\n") << true << "217.3"
                                         << "44";
    QTest::newRow("extra fields and lines")
        << QByteArray("200,30,7\r\n1,2\r\n") << true << "200" << "30";
    QTest::newRow("no line end") << QByteArray("200,30") << true << "200" << "30";
    QTest::newRow("one field") << QByteArray("217.3\r\n") << false << "" << "";
    QTest::newRow("empty") << QByteArray() << false << "" << "";
}

void TestNumbers::parseDataFile() {
    QFETCH(QByteArray, content);
    QFETCH(bool, ok);
    const auto fields = ParseDataFile(content);
    QCOMPARE(fields.has_value(), ok);
    if (!ok) return;
    QFETCH(QString, azimuth);
    QFETCH(QString, elevation);
    QCOMPARE(fields->azimuth, azimuth);
    QCOMPARE(fields->elevation, elevation);
}

QTEST_GUILESS_MAIN(TestNumbers)
#include "tst_numbers.moc"
