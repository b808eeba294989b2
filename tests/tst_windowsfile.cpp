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
#include <tuple>

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

}  // namespace

class TestWindowsFile : public QObject {
    Q_OBJECT

private slots:
    // Written and read back in a folder of each name, which goes to the system as UTF-16, never
    // through the ANSI code page; and the user's own folder on this machine, not the roaming one.
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
        QVERIFY(WriteDataFile(path, 217.344291652777, 44.8168471212995, nullptr));
        QCOMPARE(QDir(program).entryList(QDir::Files), QStringList{kDataFileName});
        QCOMPARE(content(path), "217.344291652777,44.8168471212995\r\n");
        const auto fields = ReadDataFile(path);
        QVERIFY(fields && fields->azimuth == u"217.344291652777"_s);
        QCOMPARE(UserDataDirectory().path,
                 QDir::toNativeSeparators(qEnvironmentVariable("LOCALAPPDATA")) +
                     u"\\tst_windowsfile"_s);
    }

    // A replacement the system refuses leaves the old file whole and no temporary file, and says
    // so. The old file is held open by a program that shares it for reading only: Windows says
    // the file is busy, Wine that there is no access.
    void refusedReplacement() {
        QTemporaryDir dir;
        const QString path = QDir::toNativeSeparators(dir.filePath(kDataFileName));
        QVERIFY(WriteDataFile(path, 200, 30, nullptr));
        const HANDLE holder = CreateFileW(wide(path), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        QString message;
        const bool written = WriteDataFile(path, 217.3, 44.8, &message);
        CloseHandle(holder);
        QVERIFY(holder != INVALID_HANDLE_VALUE && !written);
        QCOMPARE(content(path), "200,30\r\n");
        QCOMPARE(QDir(dir.path()).entryList({u"*.tmp"_s}, QDir::Files), QStringList());
        QVERIFY2(message.contains(path) &&
                     message.contains(u"Прежний файл с этим именем не изменён"_s) &&
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
        // Windows reads a link to a file as the file; Wine 8 does not follow the links it makes.
        if (!underWine()) QVERIFY2(ReadDataFile(path, &why), qPrintable(why));
        QVERIFY(WriteDataFile(path, 217.3, 44.8, nullptr));
        QCOMPARE(content(target), "200,30\r\n");
        QCOMPARE(content(path), "217.3,44.8\r\n");
        QVERIFY(!(GetFileAttributesW(wide(path)) & FILE_ATTRIBUTE_REPARSE_POINT));
    }

    // The next write removes the temporary files that killed replacements left, once five
    // minutes old: nothing else. No two names differ in case only: Windows takes them for one.
    void leftovers() {
        QTemporaryDir dir;
        const std::tuple<const char*, int, bool> files[] = {// name, minutes old, removed
                                                            {"rlin1.txt.0123abcd.tmp", 10, true},
                                                            {"rlin1.txt.456789ef.tmp", 1, false},
                                                            {"rlin1.txt.89ABCDEF.tmp", 10, false},
                                                            {"rlin1.txt.0123abc.tmp", 10, false},
                                                            {"other.txt.0123abcd.tmp", 10, false}};
        for (const auto& [name, minutes, removed] : files) {
            QFile file(dir.filePath(QLatin1String(name)));
            QVERIFY(file.open(QIODevice::WriteOnly) &&
                    file.setFileTime(QDateTime::currentDateTime().addSecs(-60 * minutes),
                                     QFileDevice::FileModificationTime));
        }
        QVERIFY(WriteDataFile(dir.filePath(kDataFileName), 217.3, 44.8, nullptr));
        for (const auto& [name, minutes, removed] : files)
            QVERIFY2(QFile::exists(dir.filePath(QLatin1String(name))) != removed, name);
    }
};

QTEST_GUILESS_MAIN(TestWindowsFile)
#include "tst_windowsfile.moc"
