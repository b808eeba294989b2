#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "appdir.h"
#include "datafile.h"
#include "pipewatch.h"

using namespace Qt::StringLiterals;

namespace {

// The step of a replacement a test makes fail.
enum class Failing { Write, WriteAfterHalf, WriteTakesNothing, Fsync, Close, Rename };

// What a test puts at the data file's name.
enum class Entry { Link, DanglingLink, LinkToPipe, Pipe, Folder, Socket, Device };

// The content of a regular file (a link followed); the test never opens anything else.
QByteArray content(const QString& path) {
    struct stat info;
    if (::stat(QFile::encodeName(path).constData(), &info) != 0) return "<missing>";
    if (!S_ISREG(info.st_mode)) return "<not a file>";
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// The file type at the name itself, a link not followed.
mode_t typeAt(const QString& path) {
    struct stat info;
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & S_IFMT : 0;
}

QStringList entries(const QString& dir) {
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                               QDir::NoDotAndDotDot);
}

// Every word the user reads is Russian: nothing Latin outside the path.
bool russian(QString message, const QString& path) {
    return !message.remove(path).contains(QRegularExpression(u"[A-Za-z]"_s));
}

const QByteArray kOld = "200,30\r\n", kNew = "217.3,44.8\r\n";

}  // namespace

Q_DECLARE_METATYPE(Failing)
Q_DECLARE_METATYPE(Entry)

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

    // Only a path that reads as text and back unchanged is the program folder: a name that is
    // not UTF-8 would come back as another path (the root, once).
    void appDirFromBytes_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("usable");
        QTest::addColumn<QString>("dir");
        QTest::newRow("Cyrillic") << QByteArray("/opt/\xd0\xa0\xd0\xb0/") << true << u"/opt/Ра"_s;
        QTest::newRow("a replacement mark spelled out")
            << QByteArray("/tmp/\xef\xbf\xbd") << true << u"/tmp/\ufffd"_s;
        QTest::newRow("root") << QByteArray("/") << true << u""_s;
        QTest::newRow("bytes ff fe") << QByteArray("/tmp/a\xff\xfe") << false << QString();
        QTest::newRow("overlong slash") << QByteArray("/tmp/\xc0\xaf") << false << QString();
        QTest::newRow("surrogate half") << QByteArray("/tmp/\xed\xa0\x80") << false << QString();
        QTest::newRow("no path") << QByteArray() << false << QString();
    }
    void appDirFromBytes() {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, usable);
        QFETCH(QString, dir);
        const std::optional<QString> appDir = AppDirFromBytes(bytes);
        QCOMPARE(appDir.has_value(), usable);
        if (appDir) QCOMPARE(*appDir, dir);
    }

    // Whatever step fails, the old file stays as it was, nothing else is left in the folder, and
    // the message names the file and says why in Russian; it speaks of the old results only when
    // there was an old file.
    void failedReplacement_data() {
        QTest::addColumn<Failing>("failing");
        QTest::addColumn<int>("error");
        QTest::addColumn<bool>("oldFile");
        QTest::addColumn<QString>("reason");
        QTest::newRow("disk full") << Failing::Write << ENOSPC << true << u"нет места"_s;
        QTest::newRow("disk full half-way")
            << Failing::WriteAfterHalf << ENOSPC << false << u"нет места"_s;
        QTest::newRow("write takes nothing")
            << Failing::WriteTakesNothing << 0 << true << u"не полностью"_s;
        QTest::newRow("read-only disk")
            << Failing::Write << EROFS << false << u"только для чтения"_s;
        QTest::newRow("flush fails") << Failing::Fsync << EIO << true << u"ввода-вывода"_s;
        QTest::newRow("close fails") << Failing::Close << EIO << false << u"ввода-вывода"_s;
        QTest::newRow("rename refused") << Failing::Rename << EACCES << true << u"нет прав"_s;
        QTest::newRow("unlisted error") << Failing::Rename << EXDEV << true << u"номер"_s;
    }
    void failedReplacement() {
        QFETCH(Failing, failing);
        QFETCH(int, error);
        QFETCH(bool, oldFile);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString path = dir.filePath(kDataFileName);
        if (oldFile) QVERIFY(WriteDataFile(path, 200, 30, nullptr));
        const QStringList before = entries(dir.path());

        const auto fail = [error] {
            errno = error;
            return -1;
        };
        ReplaceCalls calls;
        if (failing == Failing::Write)
            calls.write = [&](int, const char*, qint64) { return fail(); };
        if (failing == Failing::WriteAfterHalf)
            calls.write = [&, first = true](int fd, const char* data, qint64 size) mutable {
                if (!std::exchange(first, false)) return qint64(fail());
                return qint64(::write(fd, data, size_t(size / 2)));
            };
        if (failing == Failing::WriteTakesNothing)
            calls.write = [](int, const char*, qint64) { return qint64(0); };
        if (failing == Failing::Fsync) calls.fsync = [&](int) { return fail(); };
        if (failing == Failing::Close)
            calls.close = [&](int fd) {
                ::close(fd);
                return fail();
            };
        if (failing == Failing::Rename)
            calls.rename = [&](const char*, const char*) { return fail(); };

        QString message;
        QVERIFY(!WriteDataFile(path, 217.3, 44.8, &message, calls));
        QCOMPARE(content(path), oldFile ? kOld : QByteArray("<missing>"));
        QCOMPARE(entries(dir.path()), before);
        QVERIFY2(message.contains(path) && message.contains(reason), qPrintable(message));
        QCOMPARE(message.contains(u"прежнего расчёта"_s), oldFile);
        QVERIFY2(russian(message, path), qPrintable(message));
    }

    // Writes that take a part of what they are given, or are interrupted, are carried on.
    void partialWrites() {
        QTemporaryDir dir;
        const QString path = dir.filePath(kDataFileName);
        ReplaceCalls calls;
        calls.write = [interrupt = false](int fd, const char* data, qint64) mutable {
            if ((interrupt = !interrupt)) {
                errno = EINTR;
                return qint64(-1);
            }
            return qint64(::write(fd, data, 1));
        };
        QString message;
        QVERIFY2(WriteDataFile(path, 217.3, 44.8, &message, calls), qPrintable(message));
        QCOMPARE(content(path), kNew);
        QCOMPARE(entries(dir.path()), QStringList{kDataFileName});
    }

    // A full disk for real: a small memory file system filled up, when the test may mount one,
    // and a file size limit, which any user can set.
    void fullDisk_data() {
        QTest::addColumn<bool>("fileSystem");
        QTest::addColumn<QString>("reason");
        QTest::newRow("full file system") << true << u"на диске нет места"_s;
        QTest::newRow("file size limit") << false << u"допустимый размер"_s;
    }
    void fullDisk() {
        QFETCH(bool, fileSystem);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QByteArray mountPoint = QFile::encodeName(dir.path());
        if (fileSystem) {
            if (::mount("tmpfs", mountPoint.constData(), "tmpfs", 0, "size=64k") != 0)
                QSKIP("no memory file system can be mounted here");
        }
        const auto unmount = qScopeGuard([&] {
            if (fileSystem) ::umount2(mountPoint.constData(), MNT_DETACH);
        });
        const QString path = dir.filePath(kDataFileName);
        QVERIFY(WriteDataFile(path, 200, 30, nullptr));
        QString message;
        bool written;
        if (fileSystem) {
            QFile filler(dir.filePath(u"filler"_s));
            QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
            while (filler.write(QByteArray(4096, 'x')) > 0) {
            }
            written = WriteDataFile(path, 217.3, 44.8, &message);
        } else {
            // Beyond the limit a write fails with EFBIG; the signal that comes with it is ignored.
            const auto oldSignal = std::signal(SIGXFSZ, SIG_IGN);
            struct rlimit limit;
            QVERIFY(::getrlimit(RLIMIT_FSIZE, &limit) == 0);
            struct rlimit tight = limit;
            tight.rlim_cur = 4;
            QVERIFY(::setrlimit(RLIMIT_FSIZE, &tight) == 0);
            written = WriteDataFile(path, 217.3, 44.8, &message);
            ::setrlimit(RLIMIT_FSIZE, &limit);
            std::signal(SIGXFSZ, oldSignal);
        }
        QVERIFY(!written);
        QCOMPARE(content(path), kOld);
        QVERIFY2(message.contains(reason) && message.contains(u"прежнего расчёта"_s),
                 qPrintable(message));
        QCOMPARE(entries(dir.path()).filter(u".tmp"_s), QStringList());
    }

    // A link of the data file's name is replaced by the new file, whatever it points to, and
    // its target keeps its content; anything else but a regular file is refused, never opened.
    void specialNames_data() {
        QTest::addColumn<Entry>("entry");
        QTest::addColumn<bool>("written");
        QTest::addColumn<QString>("reason");
        QTest::newRow("link to a file elsewhere") << Entry::Link << true << QString();
        QTest::newRow("link to nothing") << Entry::DanglingLink << true << QString();
        QTest::newRow("link to a pipe") << Entry::LinkToPipe << true << QString();
        QTest::newRow("pipe") << Entry::Pipe << false << u"канал, устройство или сокет"_s;
        QTest::newRow("folder") << Entry::Folder << false << u"папка"_s;
        QTest::newRow("socket") << Entry::Socket << false << u"канал, устройство или сокет"_s;
        QTest::newRow("device") << Entry::Device << false << u"канал, устройство или сокет"_s;
    }
    void specialNames() {
        QFETCH(Entry, entry);
        QFETCH(bool, written);
        QFETCH(QString, reason);
        QTemporaryDir dir, elsewhere;
        const QString path = dir.filePath(kDataFileName);
        const QString target = elsewhere.filePath(u"target"_s);
        const QByteArray name = QFile::encodeName(path), targetName = QFile::encodeName(target);
        switch (entry) {
            case Entry::Link: {
                QFile file(target);
                QVERIFY(file.open(QIODevice::WriteOnly) && file.write(kOld) == kOld.size());
                QVERIFY(QFile::link(target, path));
                break;
            }
            case Entry::DanglingLink:
                QVERIFY(QFile::link(target, path));
                break;
            case Entry::LinkToPipe:
                QVERIFY(::mkfifo(targetName.constData(), 0600) == 0 && QFile::link(target, path));
                break;
            case Entry::Pipe:
                QVERIFY(::mkfifo(name.constData(), 0600) == 0);
                break;
            case Entry::Folder:
                QVERIFY(QDir().mkdir(path));
                break;
            case Entry::Socket: {
                const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
                sockaddr_un address{};
                address.sun_family = AF_UNIX;
                qstrncpy(address.sun_path, name.constData(), sizeof address.sun_path);
                QVERIFY(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0);
                ::close(fd);
                break;
            }
            case Entry::Device:
                // The numbers of /dev/null; only the administrator makes a device.
                if (::mknod(name.constData(), S_IFCHR | 0666, makedev(1, 3)) != 0)
                    QSKIP("no device can be made here");
                break;
        }
        const mode_t before = typeAt(path), targetBefore = typeAt(target);
        const QByteArray targetContent = content(target);

        QString message;
        PipeWatch watch(entry == Entry::Pipe ? name : targetName);
        QCOMPARE(WriteDataFile(path, 217.3, 44.8, &message), written);
        QVERIFY2(!watch.fired(), "the writer waited on a pipe");
        QCOMPARE(typeAt(target), targetBefore);
        QCOMPARE(content(target), targetContent);
        if (written) {
            QCOMPARE(typeAt(path), mode_t(S_IFREG));
            QCOMPARE(content(path), kNew);
        } else {
            QCOMPARE(typeAt(path), before);
            QVERIFY2(message.contains(path) && message.contains(reason), qPrintable(message));
            QVERIFY2(!message.contains(u"прежнего"_s), qPrintable(message));
        }
        QCOMPARE(entries(dir.path()), QStringList{kDataFileName});
    }

    // The plot reads a regular file, a link to one included, and nothing else; a pipe or a
    // device is refused as unreadable without being opened, so a read never waits.
    void readKinds_data() {
        QTest::addColumn<Entry>("entry");  // Link: a link to a file with the old line
        QTest::addColumn<bool>("read");
        QTest::addColumn<QString>("reason");
        QTest::newRow("link to a file") << Entry::Link << true << QString();
        QTest::newRow("pipe") << Entry::Pipe << false << u"канал, устройство или сокет"_s;
        QTest::newRow("link to a pipe") << Entry::LinkToPipe << false << u"канал, устройство"_s;
        QTest::newRow("device") << Entry::Device << false << u"канал, устройство или сокет"_s;
        QTest::newRow("folder") << Entry::Folder << false << u"папка"_s;
        QTest::newRow("nothing") << Entry::DanglingLink << false << u"не найдены"_s;
    }
    void readKinds() {
        QFETCH(Entry, entry);
        QFETCH(bool, read);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        QString path = dir.filePath(kDataFileName);
        const QString target = dir.filePath(u"target"_s);
        QByteArray pipe = QFile::encodeName(path);
        if (entry == Entry::Link) {
            QVERIFY(WriteDataFile(target, 200, 30, nullptr) && QFile::link(target, path));
        } else if (entry == Entry::Pipe || entry == Entry::LinkToPipe) {
            if (entry == Entry::LinkToPipe) {
                pipe = QFile::encodeName(target);
                QVERIFY(QFile::link(target, path));
            }
            QVERIFY(::mkfifo(pipe.constData(), 0600) == 0);
        } else if (entry == Entry::Device) {
            path = u"/dev/null"_s;  // every system has it, anyone may open it
        } else if (entry == Entry::Folder) {
            QVERIFY(QDir().mkdir(path));
        }
        QString why;
        PipeWatch watch(pipe);
        const auto fields = ReadDataFile(path, &why);
        QVERIFY2(!watch.fired(), "the reader waited on a pipe");
        QCOMPARE(fields.has_value(), read);
        if (read)
            QVERIFY(fields->azimuth == u"200"_s && fields->elevation == u"30"_s);
        else
            QVERIFY2(why.contains(reason), qPrintable(why));
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
