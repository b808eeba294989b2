// SPDX-License-Identifier: GPL-3.0-or-later
#include <fcntl.h>
#include <pwd.h>
#include <sys/inotify.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <cstdlib>
#include <ctime>

#include "appdir.h"
#include "datafile.h"
#include "pipewatch.h"

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(ReplaceCalls)

class TestDataFile : public QObject {
    Q_OBJECT

    // The content of a regular file (a link followed); the test never opens anything else.
    static QByteArray content(const QString& path) {
        QFile file(path);
        return QFileInfo(path).isFile() && file.open(QIODevice::ReadOnly) ? file.readAll() : "-";
    }
    // The replacement's temporary files left in the folder.
    static QStringList temporaries(const QString& dir) {
        return QDir(dir).entryList({u"*.tmp"_s}, QDir::Files);
    }

    QTemporaryDir m_home;

private slots:
    void initTestCase() {
        // The user's data folder in a home of the test's own; a write beyond RLIMIT_FSIZE fails,
        // no signal.
        qputenv("HOME", QFile::encodeName(m_home.path()));
        qunsetenv("XDG_DATA_HOME");
        std::signal(SIGXFSZ, SIG_IGN);
    }

    // Only a path that reads as text and back unchanged is the program folder: a name that is not
    // UTF-8 would come back as another path (a replacement mark spelled out is fine). One trailing
    // separator goes, even from a root.
    void appDirFromBytes() {
        QCOMPARE(AppDirFromBytes("/opt/\xd0\xa0\xd0\xb0/"), u"/opt/Ра"_s);
        QCOMPARE(AppDirFromBytes("/a/\xef\xbf\xbd"), u"/a/\ufffd"_s);
        QCOMPARE(AppDirFromBytes("/"), u""_s);
        QCOMPARE(AppDirFromBytes("//"), u"/"_s);
        QCOMPARE(AppDirFromBytes("C:\\"), u"C:"_s);
        QCOMPARE(AppDirFromBytes("/tmp/a\xff\xfe"), std::nullopt);
        QCOMPARE(AppDirFromBytes(""), std::nullopt);
    }

    // Whatever step fails, the old file stays as it was, no temporary file is left, and the
    // message names the file and says why in Russian; it speaks of the old results only when
    // there was an old file.
    void failedReplacement_data() {
        QTest::addColumn<ReplaceCalls>("calls");
        QTest::addColumn<bool>("sizeLimit");  // the real write beyond a limit any user may set
        QTest::addColumn<bool>("oldFile");
        QTest::addColumn<QString>("reason");
        using C = ReplaceCalls;
        const auto fail = [](int error) { return [error](auto...) { return errno = error, -1; }; };
        const auto closeFails = [fail](int fd) { return ::close(fd), fail(EIO)(); };
        QTest::newRow("disk full") << C{fail(ENOSPC), {}, {}, {}} << false << true << u"места"_s;
        QTest::newRow("file size limit") << C{} << true << true << u"допустимый размер"_s;
        QTest::newRow("flush fails") << C{{}, fail(EIO), {}, {}} << false << true << u"ввода"_s;
        QTest::newRow("close fails") << C{{}, {}, closeFails, {}} << false << false << u"ввода"_s;
        QTest::newRow("no rename") << C{{}, {}, {}, fail(EACCES)} << false << true << u"нет прав"_s;
        QTest::newRow("unlisted") << C{{}, {}, {}, fail(EXDEV)} << false << false << u"номер 18"_s;
    }
    void failedReplacement() {
        QFETCH(ReplaceCalls, calls);
        QFETCH(bool, sizeLimit);
        QFETCH(bool, oldFile);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString path = dir.filePath(kDataFileName);
        if (oldFile) QVERIFY(WriteDataFile(path, 200, 30, nullptr));
        rlimit limit;
        QVERIFY(::getrlimit(RLIMIT_FSIZE, &limit) == 0);
        const rlimit tight{sizeLimit ? 4 : limit.rlim_cur, limit.rlim_max};
        QVERIFY(::setrlimit(RLIMIT_FSIZE, &tight) == 0);
        QString message;
        const bool written = WriteDataFile(path, 217.3, 44.8, &message, calls);
        ::setrlimit(RLIMIT_FSIZE, &limit);
        QVERIFY(!written);
        QCOMPARE(content(path), oldFile ? QByteArray("200,30\r\n") : "-");
        QCOMPARE(temporaries(dir.path()), QStringList());
        QVERIFY2(message.contains(path) && message.contains(reason), qPrintable(message));
        QCOMPARE(message.contains(u"В нём остались данные прежнего расчёта."_s), oldFile);
    }

    // The writer replaces a link of the data file's name, whatever it points to, and leaves its
    // target as it was; anything else but a regular file it refuses. The reader reads a regular
    // file, a link to one included, and nothing else. Neither ever waits on a pipe.
    void specialNames_data() {
        QTest::addColumn<bool>("link");  // the name is a link to the node, not the node
        QTest::addColumn<int>("node");   // its file type; 0: nothing
        QTest::addColumn<bool>("written");
        QTest::addColumn<QString>("reason");  // the reader's, and the writer's refusal; empty: read
        const QString special = u"канал, устройство или сокет"_s;
        QTest::newRow("link to a file") << true << S_IFREG << true << QString();
        QTest::newRow("link to nothing") << true << 0 << true << u"не найдены"_s;
        QTest::newRow("link to a pipe") << true << S_IFIFO << true << special;
        QTest::newRow("pipe") << false << S_IFIFO << false << special;
        QTest::newRow("folder") << false << S_IFDIR << false << u"папка"_s;
        QTest::newRow("socket") << false << S_IFSOCK << false << special;
        QTest::newRow("device") << false << S_IFCHR << false << special;
    }
    void specialNames() {
        QFETCH(bool, link);
        QFETCH(int, node);
        QFETCH(bool, written);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString path = dir.filePath(kDataFileName), target = dir.filePath(u"target"_s);
        const QByteArray name = QFile::encodeName(link ? target : path);
        // A CR LF and a bare LF both end a field. Any user makes a pipe or a socket with mknod; a
        // device (/dev/null's numbers) only the administrator.
        if (node == S_IFREG)
            QVERIFY(ReplaceFile(target, "200\r\n30\n").replaced);
        else if (node == S_IFDIR)
            QVERIFY(QDir().mkdir(path));
        else if (node && ::mknod(name, node | 0600, makedev(1, 3)) != 0)
            QSKIP("no device can be made here");
        if (link) QVERIFY(QFile::link(target, path));
        const QByteArray targetContent = content(target);

        QString why, message;
        PipeWatch watch(name);
        const auto fields = ReadDataFile(path, &why);
        QCOMPARE(WriteDataFile(path, 217.3, 44.8, &message), written);
        QVERIFY2(!watch.fired(), "waited on a pipe");
        QVERIFY2(reason.isEmpty()
                     ? fields && fields->azimuth == u"200"_s && fields->elevation == u"30"_s
                     : why.contains(reason),
                 qPrintable(why));
        QCOMPARE(content(target), targetContent);
        QVERIFY2(written ? content(path) == "217.3,44.8\r\n"
                         : message.contains(reason) && !message.contains(u"прежнего"_s),
                 qPrintable(message));
        QCOMPARE(temporaries(dir.path()), QStringList());
    }

    // XDG_DATA_HOME when it is absolute, else HOME's .local/share when that is absolute, else the
    // account's home's; a name that does not read as text is no folder to use, and says so.
    void dataHome_data() {
        QTest::addColumn<QByteArray>("xdg");  // null: not set
        QTest::addColumn<QByteArray>("home");
        QTest::addColumn<QByteArray>("account");
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("unusable");
        const QByteArray none, account = "/home/a", u = "/home/u";
        // clang-format off
        QTest::newRow("XDG_DATA_HOME") << "/x/d/"_ba << u << account << u"/x/d"_s << false;
        QTest::newRow("relative XDG_DATA_HOME") << "r/d"_ba << u << account << u"/home/u/.local/share"_s << false;
        QTest::newRow("no HOME") << none << none << account << u"/home/a/.local/share"_s << false;
        QTest::newRow("relative HOME") << none << "u"_ba << account << u"/home/a/.local/share"_s << false;
        QTest::newRow("HOME the root") << none << "/"_ba << account << u"/.local/share"_s << false;
        QTest::newRow("HOME not text") << none << "/home/\xff"_ba << account << QString() << true;
        QTest::newRow("XDG_DATA_HOME not text") << "/d\xfe"_ba << u << account << QString() << true;
        QTest::newRow("no home at all") << none << none << none << QString() << false;
        // clang-format on
    }
    void dataHome() {
        QFETCH(QByteArray, xdg);
        QFETCH(QByteArray, home);
        QFETCH(QByteArray, account);
        QFETCH(QString, path);
        QFETCH(bool, unusable);
        const UserDataFolder folder = DataHomeFrom(xdg, home, account);
        QCOMPARE(folder.path, path);
        QCOMPARE(folder.problem.contains(u"не складываются в буквы"_s), unusable);
    }

    // Without HOME, the account's home from the password database.
    void accountHome() {
        const QByteArray home = qgetenv("HOME");
        qunsetenv("HOME");
        const UserDataFolder folder = UserDataDirectory();
        qputenv("HOME", home);
        const passwd* account = ::getpwuid(::getuid());
        QVERIFY(account && account->pw_dir);
        QCOMPARE(folder.path, QDir::cleanPath(QFile::decodeName(account->pw_dir)) +
                                  u"/.local/share/tst_datafile"_s);
    }

    // A system-wide installation always uses the user's folder; a portable one only when its own
    // folder takes no files, and then names it once and looks beside itself for a newer file;
    // without a user folder, the program's all the same; with one whose name is not text, none.
    void dataFilePlace_data() {
        QTest::addColumn<bool>("systemInstall");
        QTest::addColumn<bool>("writable");
        QTest::addColumn<QString>("user");  // "u": a folder, "?": one whose name is not text
        QTest::addColumn<QString>("path");  // "app", "u" or none
        QTest::addColumn<QString>("other");
        // clang-format off
        QTest::newRow("portable") << false << true << u"u"_s << u"app"_s << u"u"_s;
        QTest::newRow("portable, read-only") << false << false << u"u"_s << u"u"_s << u"app"_s;
        QTest::newRow("installed") << true << true << u"u"_s << u"u"_s << QString();  // the administrator
        QTest::newRow("installed, no user folder") << true << false << QString() << u"app"_s << QString();
        QTest::newRow("installed, user folder not text") << true << false << u"?"_s << QString() << QString();
        QTest::newRow("portable, user folder not text") << false << true << u"?"_s << u"app"_s << QString();
        QTest::newRow("read-only, user folder not text") << false << false << u"?"_s << QString() << QString();
        // clang-format on
    }
    void dataFilePlace() {
        QFETCH(bool, systemInstall);
        QFETCH(bool, writable);
        QFETCH(QString, user);
        QFETCH(QString, path);
        QFETCH(QString, other);
        const QString app = u"/opt/torvel"_s, userPath = u"/home/u/.local/share/torvel"_s;
        const UserDataFolder folder = user == u"?"_s   ? UserDataFolder{{}, u"не текст"_s}
                                      : user.isEmpty() ? UserDataFolder()
                                                       : UserDataFolder{userPath, {}};
        const auto file = [&](const QString& where) {
            return where.isEmpty() ? QString()
                                   : AppFilePath(where == u"app"_s ? app : userPath, kDataFileName);
        };
        const DataFilePlace place = DataFilePlaceFor(app, systemInstall, writable, folder);
        QCOMPARE(place.path, file(path));
        QCOMPARE(place.problem, path.isEmpty() ? folder.problem : QString());
        QCOMPARE(place.otherPath, file(other));
        QCOMPARE(place.movedNote.contains(app) && place.movedNote.contains(userPath),
                 other == u"app"_s);
        if (other != u"app"_s) QCOMPARE(place.movedNote, QString());
        // Tried for real: permission bits do not stop an administrator; /proc takes no files.
        QVERIFY(!QFileInfo::exists(u"/proc/self"_s) || !DirectoryWritable(u"/proc"_s));
    }

    // The next write keeps the old file's permissions, and removes the temporary files that
    // replacements killed half-way left, once they are five minutes old: nothing else.
    void nextWrite() {
        QTemporaryDir dir;
        const QString path = dir.filePath(kDataFileName);
        QVERIFY(WriteDataFile(path, 200, 30, nullptr));
        QVERIFY(::chmod(QFile::encodeName(path), 0600) == 0);
        const struct {
            const char* name;
            int minutes;  // since it was last written
            bool removed;
        } files[] = {
            {"rlin1.txt.0123abcd.tmp", 10, true},   {"rlin1.txt.456789ef.tmp", 1, false},
            {"rlin1.txt.0123ABCD.tmp", 10, false},  {"rlin1.txt.0123abc.tmp", 10, false},
            {"rlin1.txt.0123abcd.tmp~", 10, false}, {"other.txt.0123abcd.tmp", 10, false},
            {"rlin1.txt.89abcdef.tmp", -10, false},  // a link
        };
        for (const auto& f : files) {
            const QByteArray name = QFile::encodeName(dir.filePath(QLatin1String(f.name)));
            QVERIFY(f.minutes > 0 ? QFile(QString::fromLatin1(name)).open(QIODevice::WriteOnly)
                                  : ::symlink("rlin1.txt", name) == 0);
            const timespec old{::time(nullptr) - std::abs(f.minutes) * 60, 0}, times[] = {old, old};
            QVERIFY(::utimensat(AT_FDCWD, name, times, AT_SYMLINK_NOFOLLOW) == 0);
        }
        const mode_t mask = ::umask(022);
        const bool written = WriteDataFile(path, 217.3, 44.8, nullptr);
        ::umask(mask);
        QVERIFY(written);
        struct stat info;
        QVERIFY(::stat(QFile::encodeName(path), &info) == 0);
        QCOMPARE(info.st_mode & 0777, 0600u);
        for (const auto& f : files) {
            const QByteArray name = QFile::encodeName(dir.filePath(QLatin1String(f.name)));
            QVERIFY2((::lstat(name, &info) != 0) == f.removed, f.name);
        }
    }

    // Both layouts for real, the writer and the reader at the path decided. Nothing is made or
    // opened in an installed program's folder, not even a probe (which leaves no name behind).
    void decideDataFilePlace() {
        for (const bool systemInstall : {false, true}) {
            QTemporaryDir program;
            QVERIFY(!systemInstall ||
                    QFile(program.filePath(kSystemInstallMarker)).open(QIODevice::WriteOnly));
            const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
            QVERIFY(inotify_add_watch(watch, QFile::encodeName(program.path()), IN_ALL_EVENTS) > 0);
            const DataFilePlace place = DecideDataFilePlace(program.path());
            const QString beside = AppFilePath(program.path(), kDataFileName),
                          user = AppFilePath(UserDataDirectory().path, kDataFileName);
            QVERIFY(user.startsWith(m_home.path()));
            QCOMPARE(place.path, systemInstall ? user : beside);
            QCOMPARE(place.otherPath, systemInstall ? QString() : user);
            QVERIFY(WriteDataFile(place.path, 123.25, std::nullopt, nullptr));
            const auto fields = ReadDataFile(place.path);
            QVERIFY(fields && fields->azimuth == u"123.25"_s && fields->elevation.isEmpty());
            char events[4096];
            QCOMPARE(::read(watch, events, sizeof events) > 0, !systemInstall);
            ::close(watch);
        }
    }
};

QTEST_GUILESS_MAIN(TestDataFile)
#include "tst_datafile.moc"
