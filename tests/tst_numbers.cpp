#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "appdir.h"
#include "datafile.h"
#include "leadingnumber.h"
#include "numbertext.h"

using namespace Qt::StringLiterals;

class TestNumbers : public QObject {
    Q_OBJECT
    QTemporaryDir m_temp;

private slots:
    void initTestCase() {
        // The user's data directory of a test lies under ~/.qttest, never the real one.
        QStandardPaths::setTestModeEnabled(true);
    }

    void leadingNumber_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected");
        QTest::newRow("comma ends the number") << u"27,69"_s << 27.0;
        QTest::newRow("empty") << u""_s << 0.0;
        QTest::newRow("blanks inside") << u" 1 2 . 5 "_s << 12.5;
        QTest::newRow("tabs and line feeds") << u"\t-1\n0"_s << -10.0;
        QTest::newRow("no zero before point") << u"-.25"_s << -0.25;
        QTest::newRow("second point stops") << u"1.2.3"_s << 1.2;
        QTest::newRow("exponent") << u"+1.5E3"_s << 1500.0;
        QTest::newRow("D exponent") << u"2d-2"_s << 0.02;
        QTest::newRow("exponent sign without digits") << u"7e+x"_s << 7.0;
        QTest::newRow("exponent without mantissa") << u"e5"_s << 0.0;
        QTest::newRow("underflow") << u"1e-400"_s << 0.0;
        QTest::newRow("overflow") << u"1e400"_s << qInf();
        QTest::newRow("huge exponent digits") << u"1e99999999999999999999"_s << qInf();
        QTest::newRow("zero with huge exponent") << u"0e999999"_s << 0.0;
        QTest::newRow("small mantissa, big exponent") << u"0.0001e310"_s << 1e306;
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
        QTest::newRow("rounding carries") << 0.99999999999999999 << false << u" 1"_s;
        QTest::newRow("single azimuth") << 208.2955017 << true << u" 208.2955"_s;
        QTest::newRow("single seven digits") << 1234567.0 << true << u" 1234567"_s;
        QTest::newRow("single ten to seven") << 1e7 << true << u" 1E+07"_s;
        QTest::newRow("single 20.4999999") << 20.4999999 << true << u" 20.5"_s;
        QTest::newRow("single half") << 0.5 << true << u" .5"_s;
    }
    void numberText() {
        QFETCH(double, value);
        QFETCH(bool, single);
        QFETCH(QString, expected);
        QCOMPARE(single ? NumberText(float(value)) : NumberText(value), expected);
    }

    void appDir_data() {
        QTest::addColumn<QString>("reported");
        QTest::addColumn<QString>("expected");
        QTest::newRow("drive root") << u"C:\\"_s << u"C:"_s;
        QTest::newRow("unix root") << u"/"_s << u""_s;
        QTest::newRow("only one separator removed") << u"//"_s << u"/"_s;
    }
    void appDir() {
        QFETCH(QString, reported);
        QFETCH(QString, expected);
        QCOMPARE(AppDirFrom(reported), expected);
        // A root's file gets one separator, not two.
        QCOMPARE(AppFilePath(AppDirFrom(reported), "rlin1.txt"),
                 expected + QDir::separator() + "rlin1.txt");
    }

    void dataFileLine() {
        QCOMPARE(DataFileLine(217.344291652777, 44.8168471212995),
                 QByteArray("217.344291652777,44.8168471212995\r\n"));
        QCOMPARE(DataFileLine(217.3, std::nullopt), QByteArray("217.3,\r\n"));
        QCOMPARE(DataFileLine(180, -0.5), QByteArray("180,-.5\r\n"));
    }

    void parseDataFile_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("fields");  // "azimuth|elevation"; empty when the parse fails
        QTest::newRow("written line") << QByteArray("217.34,44.81\r\n") << u"217.34|44.81"_s;
        QTest::newRow("no elevation") << QByteArray("217.3,\r\n") << u"217.3|"_s;
        QTest::newRow("fields on two lines") << QByteArray("217.3\r\n44\r\n") << u"217.3|44"_s;
        QTest::newRow("extra fields, lines") << QByteArray("200,30,7\r\n1,2\r\n") << u"200|30"_s;
        QTest::newRow("no line end") << QByteArray("200,30") << u"200|30"_s;
        QTest::newRow("one field") << QByteArray("217.3\r\n") << u""_s;
        QTest::newRow("empty") << QByteArray() << u""_s;
    }
    void parseDataFile() {
        QFETCH(QByteArray, content);
        QFETCH(QString, fields);
        const auto parsed = ParseDataFile(content);
        QCOMPARE(parsed ? parsed->azimuth + u'|' + parsed->elevation : QString(), fields);
    }

    void dataFileDirectory_data() {
        QTest::addColumn<QString>("appDir");
        QTest::addColumn<bool>("writable");
        QTest::addColumn<QString>("userDir");
        QTest::addColumn<QString>("expected");
        const QString user = u"/home/u/.local/share/torvel"_s;
        QTest::newRow("writable") << u"/opt/torvel"_s << true << user << u"/opt/torvel"_s;
        QTest::newRow("not writable") << u"/usr/lib/t"_s << false << user << user;
        QTest::newRow("no user directory") << u"/usr/lib/t"_s << false << u""_s << u"/usr/lib/t"_s;
    }
    void dataFileDirectory() {
        QFETCH(QString, appDir);
        QFETCH(bool, writable);
        QFETCH(QString, userDir);
        QFETCH(QString, expected);
        QCOMPARE(DataFileDirectory(appDir, writable, userDir), expected);
    }

    void directoryWritable_data() {
        QTest::addColumn<QString>("dir");
        QTest::addColumn<bool>("expected");
        const QString temp = m_temp.path();
        QFile plain(temp + "/plain-file");
        QVERIFY(plain.open(QIODevice::WriteOnly));
        QTest::newRow("temporary directory") << temp << true;
        QTest::newRow("missing directory") << temp + "/missing" << false;
        QTest::newRow("below a plain file") << temp + "/plain-file/sub" << false;
        // Permission bits do not stop an administrator; /proc takes no new files from anyone.
        if (geteuid() != 0 && QDir(temp).mkdir("read-only", QFile::ReadOwner | QFile::ExeOwner))
            QTest::newRow("read-only by permissions") << temp + "/read-only" << false;
        if (QFileInfo::exists(u"/proc/self"_s)) QTest::newRow("proc") << u"/proc"_s << false;
    }
    void directoryWritable() {
        QFETCH(QString, dir);
        QFETCH(bool, expected);
        const auto entries = [&] { return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden); };
        const QStringList before = entries();
        QCOMPARE(DirectoryWritable(dir), expected);
        QCOMPARE(entries(), before);  // the probe is gone again
    }

    void dataFileFallback_data() {
        QTest::addColumn<bool>("writable");
        QTest::newRow("beside the executable") << true;
        QTest::newRow("user's data directory") << false;
    }
    // The writer finds (or creates) the folder, and the reader then finds the same file.
    void dataFileFallback() {
        QFETCH(bool, writable);
        const QString userDir = UserDataDirectory();
        QVERIFY(!userDir.isEmpty() && QDir(userDir).removeRecursively());
        const QString appDir = m_temp.path() + (writable ? "" : "/missing");
        const QString path = DataFilePath(appDir);
        QCOMPARE(path, AppFilePath(writable ? appDir : userDir, kDataFileName));
        QString error;
        QVERIFY2(WriteDataFile(path, 123.25, std::nullopt, &error), qPrintable(error));
        const auto fields = ReadDataFile(DataFilePath(appDir));
        QCOMPARE(fields ? fields->azimuth + u'|' + fields->elevation : QString(), u"123.25|"_s);
        QCOMPARE(QFileInfo::exists(appDir), writable);
        QDir(userDir).removeRecursively();
    }
};

QTEST_GUILESS_MAIN(TestNumbers)
#include "tst_numbers.moc"
