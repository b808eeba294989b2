// SPDX-License-Identifier: GPL-3.0-or-later
// The direction data file through Windows' own calls: folders named in any script, a replacement
// that fails leaves the old file, a folder of that name is refused, a link of that name is
// replaced rather than written through, leftover temporary files go, and the user's folder is
// %LOCALAPPDATA%. Run under Wine here; where Wine and Windows differ, the row says so.
#include <windows.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "appdir.h"
#include "datafile.h"

using namespace Qt::StringLiterals;

namespace {

const wchar_t* wide(const QString& path) {
    return reinterpret_cast<const wchar_t*>(path.utf16());
}

QByteArray content(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : "-";
}

// Wine says who it is through a function of its own in ntdll.
bool underWine() {
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

QStringList temporaries(const QString& dir) {
    return QDir(dir).entryList({u"*.tmp"_s}, QDir::Files | QDir::Hidden | QDir::System);
}

}  // namespace

class TestWindowsFile : public QObject {
    Q_OBJECT

private slots:
    // Written and read back in a folder of each name, the file beside the others as a user
    // sees it; the name goes to the system as UTF-16, never through the ANSI code page.
    void names_data() {
        QTest::addColumn<QString>("folder");
        QTest::newRow("Cyrillic") << u"Программа"_s;
        QTest::newRow("Chinese") << u"程序 文件"_s;
        QTest::newRow("outside the basic plane") << u"Δ😀"_s;
    }
    void names() {
        QFETCH(QString, folder);
        QTemporaryDir dir;
        const QString program = QDir::toNativeSeparators(dir.filePath(folder));
        const QString path = AppFilePath(program, kDataFileName);
        QVERIFY(path.contains(u'\\' + folder + u'\\'));
        QString message;
        QVERIFY2(WriteDataFile(path, 217.344291652777, 44.8168471212995, &message),
                 qPrintable(message));  // the folder is made on the way
        QCOMPARE(content(path), "217.344291652777,44.8168471212995\r\n");
        const auto fields = ReadDataFile(path);
        QVERIFY(fields && fields->azimuth == u"217.344291652777"_s);
        QCOMPARE(QDir(program).entryList(QDir::Files), QStringList{kDataFileName});
    }

    // A replacement the system refuses leaves the old file whole and no temporary file, and
    // says so. The old file is held open by another program that shares it for reading only:
    // Windows refuses the rename over it ("файл занят"); Wine says there is no access.
    void refusedReplacement() {
        QTemporaryDir dir;
        const QString path = QDir::toNativeSeparators(dir.filePath(kDataFileName));
        QVERIFY(WriteDataFile(path, 200, 30, nullptr));
        const HANDLE holder = CreateFileW(wide(path), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        QVERIFY(holder != INVALID_HANDLE_VALUE);
        QString message;
        const bool written = WriteDataFile(path, 217.3, 44.8, &message);
        CloseHandle(holder);
        QVERIFY(!written);
        QCOMPARE(content(path), "200,30\r\n");
        QCOMPARE(temporaries(dir.path()), QStringList());
        QVERIFY2(message.contains(path) && message.contains(u"прежнего расчёта"_s) &&
                     (message.contains(u"занят"_s) || message.contains(u"нет прав"_s)),
                 qPrintable(message));
    }

    // A folder of the file's name is refused by the writer and the reader; a link of that name
    // is replaced by the new file and its target stays as it was.
    void specialNames() {
        QTemporaryDir dir;
        const QString path = QDir::toNativeSeparators(dir.filePath(kDataFileName));
        QVERIFY(QDir().mkdir(path));
        QString why, message;
        QVERIFY(!ReadDataFile(path, &why) && why.contains(u"папка"_s));
        QVERIFY(!WriteDataFile(path, 217.3, 44.8, &message) && message.contains(u"папка"_s));
        QVERIFY(QDir().rmdir(path));

        const QString target = QDir::toNativeSeparators(dir.filePath(u"target.txt"_s));
        QVERIFY(WriteDataFile(target, 200, 30, nullptr));
        if (!CreateSymbolicLinkW(wide(path), wide(target),
                                 SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE))
            QSKIP("links need an administrator or the developer mode on this Windows");
        // A link to a file reads as the file on Windows; Wine 8 does not follow the links it
        // makes this way.
        if (!underWine()) QVERIFY2(ReadDataFile(path, &why), qPrintable(why));
        QVERIFY(WriteDataFile(path, 217.3, 44.8, nullptr));
        QCOMPARE(content(target), "200,30\r\n");
        QCOMPARE(content(path), "217.3,44.8\r\n");
        QVERIFY(!(GetFileAttributesW(wide(path)) & FILE_ATTRIBUTE_REPARSE_POINT));
    }

    // The next write removes the temporary files that replacements killed half-way left, once
    // they are five minutes old: nothing else. (No two names differ in case only: Windows takes
    // them for one.)
    void leftovers() {
        QTemporaryDir dir;
        const QString path = dir.filePath(kDataFileName);
        const struct {
            const char* name;
            int minutes;  // since it was last written
            bool removed;
        } files[] = {
            {"rlin1.txt.0123abcd.tmp", 10, true},  {"rlin1.txt.456789ef.tmp", 1, false},
            {"rlin1.txt.89ABCDEF.tmp", 10, false}, {"rlin1.txt.0123abc.tmp", 10, false},
            {"other.txt.0123abcd.tmp", 10, false},
        };
        for (const auto& f : files) {
            QFile file(dir.filePath(QLatin1String(f.name)));
            QVERIFY(file.open(QIODevice::WriteOnly));
            QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(-60 * f.minutes),
                                     QFileDevice::FileModificationTime));
        }
        QVERIFY(WriteDataFile(path, 217.3, 44.8, nullptr));
        for (const auto& f : files)
            QVERIFY2(QFile::exists(dir.filePath(QLatin1String(f.name))) != f.removed, f.name);
    }

    // The user's own folder on this machine, not the roaming one.
    void userDataFolder() {
        const QString local = QDir::toNativeSeparators(qEnvironmentVariable("LOCALAPPDATA"));
        QVERIFY(!local.isEmpty());
        QCOMPARE(UserDataDirectory().path, local + u"\\tst_windowsfile"_s);
    }
};

QTEST_GUILESS_MAIN(TestWindowsFile)
#include "tst_windowsfile.moc"
