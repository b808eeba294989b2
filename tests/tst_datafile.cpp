// SPDX-License-Identifier: GPL-3.0-or-later
#include <fcntl.h>
#include <pwd.h>
#include <sys/inotify.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>
#include <csignal>
#include <ctime>
#include <thread>
#include <tuple>

#include "appdir.h"
#include "datafile.h"

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(ReplaceCalls)

// Keeps a test from hanging on a named pipe: after three seconds the watch opens and closes the
// pipe every hundredth of a second, which ends any wait on it; fired() then fails the test.
class PipeWatch {
public:
    explicit PipeWatch(QByteArray pipe)
        : m_thread([this, pipe] {
              using namespace std::chrono_literals;
              for (int tick = 0; !m_done; ++tick, std::this_thread::sleep_for(10ms))
                  if ((m_fired = tick >= 300))
                      ::close(::open(pipe.constData(), O_RDWR | O_NONBLOCK));
          }) {
        std::signal(SIGPIPE, SIG_IGN);  // a writer on the pipe gets EPIPE, not a fatal signal
    }
    ~PipeWatch() {
        m_done = true;
        m_thread.join();
    }
    bool fired() const { return m_fired; }

private:
    std::atomic<bool> m_done{false}, m_fired{false};
    std::thread m_thread;
};

class TestDataFile : public QObject {
    Q_OBJECT

    // The content of a regular file (a link followed); the test never opens anything else.
    static QByteArray content(const QString& path) {
        QFile file(path);
        return QFileInfo(path).isFile() && file.open(QIODevice::ReadOnly) ? file.readAll() : "-";
    }

    QTemporaryDir m_home;

private slots:
    // A home of the test's own; a new file is 644; a write beyond RLIMIT_FSIZE fails, no signal.
    void initTestCase() {
        qputenv("HOME", QFile::encodeName(m_home.path()));
        qunsetenv("XDG_DATA_HOME");
        ::umask(022);
        std::signal(SIGXFSZ, SIG_IGN);
    }

    // Only a path that reads as text and back is the program folder; one trailing separator goes.
    void appDirFromBytes() {
        QCOMPARE(AppDirFromBytes("/opt/\xd0\xa0\xd0\xb0/"), u"/opt/Ра"_s);
        QCOMPARE(AppDirFromBytes("/a/\xef\xbf\xbd"), u"/a/\ufffd"_s);
        QCOMPARE(AppDirFromBytes("/"), u""_s);
        QCOMPARE(AppDirFromBytes("//"), u"/"_s);
        QCOMPARE(AppDirFromBytes("C:\\"), u"C:"_s);
        QCOMPARE(AppDirFromBytes("/tmp/a\xff\xfe"), std::nullopt);
        QCOMPARE(AppDirFromBytes(""), std::nullopt);
    }

    // What lies at the name, which write step fails. The writer replaces a link, not its target,
    // refuses what is not a regular file; a failure keeps the old file, leaves no temporary one and
    // says which file, why, whether old results remain. Neither reader nor writer opens a pipe.
    void replacement_data() {
        QTest::addColumn<bool>("link");  // the name is a link to the node, not the node
        QTest::addColumn<int>("node");   // its file type; 0: nothing
        QTest::addColumn<ReplaceCalls>("calls");
        QTest::addColumn<bool>("sizeLimit");  // the real write beyond a limit any user may set
        QTest::addColumn<QString>("read");    // the reader's fields, or its reason
        QTest::addColumn<QString>("wrote");   // the writer's reason; empty: written
        using C = ReplaceCalls;
        const auto fail = [](int error) { return [error](auto...) { return errno = error, -1; }; };
        const auto closeFails = [fail](int fd) { return ::close(fd), fail(EIO)(); };
        const QString ok, old = u"200|30"_s, missing = u"не найдены"_s,
                          special = u"канал, устройство или сокет"_s;
        // clang-format off
        QTest::newRow("disk full") << false << S_IFREG << C{fail(ENOSPC), {}, {}, {}} << false << old << u"места"_s;
        QTest::newRow("file size limit") << false << S_IFREG << C{} << true << old << u"допустимый размер"_s;
        QTest::newRow("flush fails") << false << S_IFREG << C{{}, fail(EIO), {}, {}} << false << old << u"ввода"_s;
        QTest::newRow("close fails") << false << 0 << C{{}, {}, closeFails, {}} << false << missing << u"ввода"_s;
        QTest::newRow("no rename") << false << S_IFREG << C{{}, {}, {}, fail(EACCES)} << false << old << u"нет прав"_s;
        QTest::newRow("unlisted") << false << 0 << C{{}, {}, {}, fail(EXDEV)} << false << missing << u"номер 18"_s;
        QTest::newRow("link to a file") << true << S_IFREG << C{} << false << old << ok;
        QTest::newRow("link to nothing") << true << 0 << C{} << false << missing << ok;
        QTest::newRow("link to a pipe") << true << S_IFIFO << C{} << false << special << ok;
        QTest::newRow("pipe") << false << S_IFIFO << C{} << false << special << special;
        QTest::newRow("folder") << false << S_IFDIR << C{} << false << u"папка"_s << u"папка"_s;
        // clang-format on
    }
    void replacement() {
        QFETCH(bool, link);
        QFETCH(int, node);
        QFETCH(ReplaceCalls, calls);
        QFETCH(bool, sizeLimit);
        QFETCH(QString, read);
        QFETCH(QString, wrote);
        QTemporaryDir dir;
        const QString path = dir.filePath(kDataFileName),
                      nodePath = link ? dir.filePath(u"target"_s) : path;
        const QByteArray name = QFile::encodeName(nodePath);
        if (node == S_IFREG)  // a CR LF and a bare LF both end a field
            QVERIFY(ReplaceFile(nodePath, "200\r\n30\n").replaced);
        else if (node == S_IFDIR)
            QVERIFY(QDir().mkdir(path));
        else if (node == S_IFIFO)
            QVERIFY(::mkfifo(name, 0600) == 0);
        if (link) QVERIFY(QFile::link(nodePath, path));
        const QByteArray old = content(nodePath);
        const int opens = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        if (node != S_IFREG) inotify_add_watch(opens, name, IN_OPEN);
        rlimit limit;
        QVERIFY(::getrlimit(RLIMIT_FSIZE, &limit) == 0);
        const rlimit tight{sizeLimit ? 4 : limit.rlim_cur, limit.rlim_max};

        QString why, message;
        PipeWatch watch(name);
        const auto fields = ReadDataFile(path, &why);
        QVERIFY(::setrlimit(RLIMIT_FSIZE, &tight) == 0);
        const bool written = WriteDataFile(path, 217.3, 44.8, &message, calls);
        ::setrlimit(RLIMIT_FSIZE, &limit);
        QVERIFY2(!watch.fired(), "waited on a pipe");
        char events[4096];
        QVERIFY2(::read(opens, events, sizeof events) < 0, "opened a special file");
        ::close(opens);
        const QString got = fields ? fields->azimuth + u'|' + fields->elevation : why;
        QVERIFY2(got.contains(read), qPrintable(got));
        QCOMPARE(content(path), written ? QByteArray("217.3,44.8\r\n") : old);
        if (link) QCOMPARE(content(nodePath), old);
        QCOMPARE(written, wrote.isEmpty());
        QVERIFY2(written || (message.contains(path) && message.contains(wrote)),
                 qPrintable(message));
        QCOMPARE(message.contains(u"Прежний файл с этим именем не изменён."_s),
                 !written && node == S_IFREG);
        QCOMPARE(QDir(dir.path()).entryList({u"*.tmp"_s}, QDir::Files), QStringList());
    }

    // XDG_DATA_HOME if absolute, else HOME's .local/share if absolute, else the account's home's
    // (from the password database); a name that does not read as text is no folder, and says so.
    void dataHome() {
        // The folder, and "?" when the problem says its name does not read as text.
        const auto folder = [](const QByteArray& xdg, const QByteArray& home, const char* account) {
            const UserDataFolder f = DataHomeFrom(xdg, home, account);
            return f.path + (f.problem.contains(u"не складываются в буквы"_s) ? u"?"_s : f.problem);
        };
        const QByteArray none, u = "/home/u";
        QCOMPARE(folder("/x/d/", u, "/home/a"), u"/x/d"_s);
        QCOMPARE(folder("r/d", u, "/home/a"), u"/home/u/.local/share"_s);
        QCOMPARE(folder(none, "u", "/home/a"), u"/home/a/.local/share"_s);
        QCOMPARE(folder(none, "/", "/home/a"), u"/.local/share"_s);
        QCOMPARE(folder(none, "/home/\xff", "/home/a"), u"?"_s);
        QCOMPARE(folder("/d\xfe", u, "/home/a"), u"?"_s);
        QCOMPARE(folder(none, none, nullptr), QString());

        qunsetenv("HOME");
        const QString path = UserDataDirectory().path;
        qputenv("HOME", QFile::encodeName(m_home.path()));
        const passwd* account = ::getpwuid(::getuid());
        QVERIFY(account && account->pw_dir);
        QCOMPARE(path, QDir::cleanPath(QFile::decodeName(account->pw_dir)) +
                           u"/.local/share/tst_datafile"_s);
    }

    // Installed: the user's folder; portable: only when its own takes no files, then naming it
    // and looking beside itself for a newer file. No user folder: its own; one not text: none.
    void dataFilePlace() {
        // The path, the other path, the problem and the note ("named" when it names both folders).
        const auto place = [](bool installed, bool writable, const UserDataFolder& folder) {
            const DataFilePlace p = DataFilePlaceFor(u"/opt/t"_s, installed, writable, folder);
            const bool named =
                p.movedNote.contains(u"/opt/t\n"_s) && p.movedNote.contains(u"/home/u/t"_s);
            return QStringList{p.path, p.otherPath, p.problem, named ? u"named"_s : p.movedNote};
        };
        const QString app = u"/opt/t/rlin1.txt"_s, mine = u"/home/u/t/rlin1.txt"_s;
        const UserDataFolder user{u"/home/u/t"_s, {}}, none, garbled{{}, u"не текст"_s};
        QCOMPARE(place(false, true, user), QStringList({app, mine, {}, {}}));
        QCOMPARE(place(false, false, user), QStringList({mine, app, {}, u"named"_s}));
        QCOMPARE(place(true, true, user), QStringList({mine, {}, {}, {}}));  // the administrator
        QCOMPARE(place(true, false, none), QStringList({app, {}, {}, {}}));
        QCOMPARE(place(true, false, garbled), QStringList({{}, {}, garbled.problem, {}}));
        QCOMPARE(place(false, true, garbled), QStringList({app, {}, {}, {}}));
        QCOMPARE(place(false, false, garbled), QStringList({{}, {}, garbled.problem, {}}));
    }

    // The next write keeps the permissions, removes killed replacements' files 5 minutes old.
    void nextWrite() {
        QTemporaryDir dir;
        const QString path = dir.filePath(kDataFileName);
        QVERIFY(WriteDataFile(path, 200, 30, nullptr));
        QVERIFY(::chmod(QFile::encodeName(path), 0600) == 0);
        // Each file's name, the minutes since it was written (a link: negative), whether it goes.
        const std::tuple<const char*, int, bool> files[] = {
            {"rlin1.txt.0123abcd.tmp", 10, true},   {"rlin1.txt.456789ef.tmp", 1, false},
            {"rlin1.txt.0123ABCD.tmp", 10, false},  {"rlin1.txt.0123abc.tmp", 10, false},
            {"rlin1.txt.0123abcd.tmp~", 10, false}, {"other.txt.0123abcd.tmp", 10, false},
            {"rlin1.txt.89abcdef.tmp", -10, false},  // a link to the old 0123abc file
        };
        for (const auto& [file, minutes, removed] : files) {
            const QByteArray name = QFile::encodeName(dir.filePath(QLatin1String(file)));
            QVERIFY(minutes > 0 ? QFile(QFile::decodeName(name)).open(QIODevice::WriteOnly)
                                : ::symlink("rlin1.txt.0123abc.tmp", name) == 0);
            const timespec old{::time(nullptr) - qAbs(minutes) * 60, 0}, times[] = {old, old};
            QVERIFY(::utimensat(AT_FDCWD, name, times, AT_SYMLINK_NOFOLLOW) == 0);
        }
        QVERIFY(WriteDataFile(path, 217.3, 44.8, nullptr));
        struct stat info;
        QVERIFY(::stat(QFile::encodeName(path), &info) == 0);
        QCOMPARE(info.st_mode & 0777, 0600u);
        for (const auto& [file, minutes, removed] : files)
            QVERIFY2(QFileInfo::exists(dir.filePath(QLatin1String(file))) != removed, file);
    }

    // Both layouts for real; nothing made or opened in an installed program's folder, no probe.
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
        // Tried for real: permission bits do not stop an administrator; /proc takes no files.
        QVERIFY(!QFileInfo::exists(u"/proc/self"_s) || !DirectoryWritable(u"/proc"_s));
    }
};

QTEST_GUILESS_MAIN(TestDataFile)
#include "tst_datafile.moc"
