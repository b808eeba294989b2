#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "appdir.h"
#include "datafile.h"

// Where the direction data file lives: beside the executable when that directory is writable,
// in the user's data directory otherwise, the same for the writer and the reader.
class TestDataFile : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void directory_data();
    void directory();
    void writable_data();
    void writable();
    void readOnlyByPermissions();
    void writableAppDirKeepsFileBeside();
    void unwritableAppDirUsesUserDir();

private:
    QTemporaryDir m_temp;
};

void TestDataFile::initTestCase() {
    // The user's data directory of a test lies under ~/.qttest, never the real one.
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(m_temp.isValid());
}

void TestDataFile::directory_data() {
    QTest::addColumn<QString>("appDir");
    QTest::addColumn<bool>("writable");
    QTest::addColumn<QString>("userDir");
    QTest::addColumn<QString>("expected");
    QTest::newRow("writable: beside the executable")
        << "/opt/torvel" << true << "/home/u/.local/share/torvel"
        << "/opt/torvel";
    QTest::newRow("not writable: user's data directory")
        << "/usr/lib/torvel" << false << "/home/u/.local/share/torvel"
        << "/home/u/.local/share/torvel";
    QTest::newRow("not writable, no user directory: beside the executable")
        << "/usr/lib/torvel" << false << ""
        << "/usr/lib/torvel";
    QTest::newRow("writable root directory") << "" << true << "/home/u/.local/share/torvel"
                                             << "";
}

void TestDataFile::directory() {
    QFETCH(QString, appDir);
    QFETCH(bool, writable);
    QFETCH(QString, userDir);
    QFETCH(QString, expected);
    QCOMPARE(DataFileDirectory(appDir, writable, userDir), expected);
}

void TestDataFile::writable_data() {
    QTest::addColumn<QString>("dir");
    QTest::addColumn<bool>("expected");
    const QString temp = m_temp.path();
    QFile plain(temp + "/plain-file");
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.close();
    QTest::newRow("temporary directory") << temp << true;
    QTest::newRow("missing directory") << temp + "/missing" << false;
    QTest::newRow("below a plain file") << temp + "/plain-file/sub" << false;
    // Takes no new files even from an administrator.
    if (QFileInfo(QStringLiteral("/proc/self")).exists())
        QTest::newRow("process file system") << "/proc" << false;
}

void TestDataFile::writable() {
    QFETCH(QString, dir);
    QFETCH(bool, expected);
    const QStringList before = QDir(m_temp.path()).entryList(QDir::AllEntries | QDir::Hidden);
    QCOMPARE(DirectoryWritable(dir), expected);
    // The probe is gone again.
    QCOMPARE(QDir(m_temp.path()).entryList(QDir::AllEntries | QDir::Hidden), before);
}

void TestDataFile::readOnlyByPermissions() {
    if (geteuid() == 0) QSKIP("permission bits do not stop the administrator from writing");
    QTemporaryDir dir;
    QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
    QVERIFY(!DirectoryWritable(dir.path()));
    QCOMPARE(DataFilePath(dir.path()), AppFilePath(UserDataDirectory(), kDataFileName));
    QVERIFY(
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
}

void TestDataFile::writableAppDirKeepsFileBeside() {
    const QString appDir = m_temp.path();
    const QString path = DataFilePath(appDir);
    QCOMPARE(path, AppFilePath(appDir, kDataFileName));
    QVERIFY(WriteDataFile(path, 217.5, 44.25, nullptr));
    const auto fields = ReadDataFile(DataFilePath(appDir));
    QVERIFY(fields);
    QCOMPARE(fields->azimuth, QStringLiteral("217.5"));
    QCOMPARE(fields->elevation, QStringLiteral("44.25"));
}

void TestDataFile::unwritableAppDirUsesUserDir() {
    const QString userDir = UserDataDirectory();
    QVERIFY(!userDir.isEmpty());
    QDir(userDir).removeRecursively();

    const QString appDir = m_temp.path() + "/missing";
    const QString path = DataFilePath(appDir);
    QCOMPARE(path, AppFilePath(userDir, kDataFileName));
    // The writer creates the user's data directory; the reader then finds the same file.
    QString error;
    QVERIFY2(WriteDataFile(path, 123.25, std::nullopt, &error), qPrintable(error));
    QCOMPARE(DataFilePath(appDir), path);
    const auto fields = ReadDataFile(DataFilePath(appDir));
    QVERIFY(fields);
    QCOMPARE(fields->azimuth, QStringLiteral("123.25"));
    QCOMPARE(fields->elevation, QString());
    QVERIFY(!QFileInfo::exists(appDir));
    QDir(userDir).removeRecursively();
}

QTEST_GUILESS_MAIN(TestDataFile)
#include "tst_datafile.moc"
