#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "appdir.h"
#include "datafile.h"

using namespace Qt::StringLiterals;

class TestDataFile : public QObject {
    Q_OBJECT
    QTemporaryDir m_temp;

private slots:
    void initTestCase() {
        // The user's data directory of a test lies under ~/.qttest, never the real one.
        QStandardPaths::setTestModeEnabled(true);
    }

    // A root keeps no trailing separator, so that its file gets one separator, not two.
    void appDir() {
        for (const auto& [reported, dir] :
             {std::pair(u"C:\\"_s, u"C:"_s), {u"/"_s, u""_s}, {u"//"_s, u"/"_s}}) {
            QCOMPARE(AppDirFrom(reported), dir);
            QCOMPARE(AppFilePath(AppDirFrom(reported), u"rlin1.txt"_s),
                     dir + QDir::separator() + u"rlin1.txt"_s);
        }
    }

    void dataFileLine() {
        QCOMPARE(DataFileLine(217.3, std::nullopt), QByteArray("217.3,\r\n"));
        QCOMPARE(DataFileLine(180, -0.5), QByteArray("180,-.5\r\n"));
    }

    void parseDataFile_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("read");
        QTest::addColumn<QString>("azimuth");
        QTest::addColumn<QString>("elevation");
        QTest::newRow("no elevation") << QByteArray("217.3,\r\n") << true << u"217.3"_s << u""_s;
        QTest::newRow("fields on two lines")
            << QByteArray("217.3\r\n44\r\n") << true << u"217.3"_s << u"44"_s;
        QTest::newRow("bare line feed")
            << QByteArray("217.3\n44\n") << true << u"217.3"_s << u"44"_s;
        QTest::newRow("extra fields, lines")
            << QByteArray("200,30,7\r\n1,2\r\n") << true << u"200"_s << u"30"_s;
        QTest::newRow("no line end") << QByteArray("200,30") << true << u"200"_s << u"30"_s;
        QTest::newRow("one field") << QByteArray("217.3\r\n") << false << QString() << QString();
        QTest::newRow("empty") << QByteArray() << false << QString() << QString();
    }
    void parseDataFile() {
        QFETCH(QByteArray, content);
        QFETCH(bool, read);
        QFETCH(QString, azimuth);
        QFETCH(QString, elevation);
        const auto fields = ParseDataFile(content);
        QCOMPARE(fields.has_value(), read);
        if (!fields) return;
        QCOMPARE(fields->azimuth, azimuth);
        QCOMPARE(fields->elevation, elevation);
    }

    // A system-wide installation always uses the user's folder; a portable one only when its own
    // folder takes no files; without a user folder, the program's all the same.
    void dataFileFolder_data() {
        QTest::addColumn<bool>("systemInstall");
        QTest::addColumn<bool>("writable");
        QTest::addColumn<QString>("userDir");
        QTest::addColumn<QString>("folder");
        const QString app = u"/opt/torvel"_s, user = u"/home/u/.local/share/torvel"_s;
        QTest::newRow("portable") << false << true << user << app;
        QTest::newRow("portable, read-only") << false << false << user << user;
        QTest::newRow("system-wide, writable (administrator)") << true << true << user << user;
        QTest::newRow("system-wide") << true << false << user << user;
        QTest::newRow("no user folder") << true << false << QString() << app;
    }
    void dataFileFolder() {
        QFETCH(bool, systemInstall);
        QFETCH(bool, writable);
        QFETCH(QString, userDir);
        QFETCH(QString, folder);
        QCOMPARE(DataFileFolder(u"/opt/torvel"_s, systemInstall, writable, userDir), folder);
    }

    // Both layouts for real: the decision, then the writer and the reader meet at that path.
    void decideDataFilePath_data() {
        QTest::addColumn<bool>("systemInstall");
        QTest::addColumn<bool>("readOnly");
        QTest::newRow("portable folder") << false << false;
        QTest::newRow("system-wide installation") << true << false;
        if (geteuid() != 0) QTest::newRow("read-only portable folder") << false << true;
    }
    void decideDataFilePath() {
        QFETCH(bool, systemInstall);
        QFETCH(bool, readOnly);
        const QString userDir = UserDataDirectory();
        QVERIFY(!userDir.isEmpty() && QDir(userDir).removeRecursively());
        QTemporaryDir program;
        if (systemInstall) {
            QFile marker(program.filePath(kSystemInstallMarker));
            QVERIFY(marker.open(QIODevice::WriteOnly));
        }
        if (readOnly)
            QVERIFY(QFile::setPermissions(program.path(), QFile::ReadOwner | QFile::ExeOwner));
        const QStringList before = QDir(program.path()).entryList(QDir::AllEntries | QDir::Hidden);

        const QString path = DecideDataFilePath(program.path());
        const bool beside = !systemInstall && !readOnly;
        QCOMPARE(path, AppFilePath(beside ? program.path() : userDir, kDataFileName));
        QString error;
        QVERIFY2(WriteDataFile(path, 123.25, std::nullopt, &error), qPrintable(error));
        const auto fields = ReadDataFile(path);
        QVERIFY(fields && fields->azimuth == u"123.25"_s);
        // Beside an installed program nothing is written, not even a probe.
        if (!beside)
            QCOMPARE(QDir(program.path()).entryList(QDir::AllEntries | QDir::Hidden), before);
        QFile::setPermissions(program.path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QDir(userDir).removeRecursively();
    }

    void directoryWritable_data() {
        QTest::addColumn<QString>("dir");
        QTest::addColumn<bool>("expected");
        const QString temp = m_temp.path();
        QFile plain(temp + u"/plain-file"_s);
        QVERIFY(plain.open(QIODevice::WriteOnly));
        QTest::newRow("temporary directory") << temp << true;
        QTest::newRow("missing directory") << temp + u"/missing"_s << false;
        QTest::newRow("below a plain file") << temp + u"/plain-file/sub"_s << false;
        // Permission bits do not stop an administrator; /proc takes no new files from anyone.
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
};

QTEST_GUILESS_MAIN(TestDataFile)
#include "tst_datafile.moc"
