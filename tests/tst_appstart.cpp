// SPDX-License-Identifier: GPL-3.0-or-later
#include <QGuiApplication>
#include <QProcess>
#include <QTest>

#include "appstart.h"

// The command line before any window, on its own and through the real program; the window icon.
class TestAppStart : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { SetApplicationNameAndVersion(); }

    // The exit code (-1: the program goes on to start its windows) and the first line written:
    // to standard output for an answer, to standard error for a mistake (nothing to the other).
    void commandLine_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("output");
        const QString version = QStringLiteral("torvel " TORVEL_TEST_VERSION);
        const QString help = QStringLiteral("Использование: torvel [параметры]");
        const auto unknown = [](const char* option) {
            return QStringLiteral("torvel: неизвестный параметр «%1»").arg(QLatin1String(option));
        };
        QTest::newRow("--version") << QStringList{"--version"} << 0 << version;
        QTest::newRow("-v") << QStringList{"-v"} << 0 << version;
        QTest::newRow("--help") << QStringList{"--help"} << 0 << help;
        QTest::newRow("-h") << QStringList{"-h"} << 0 << help;
        QTest::newRow("none") << QStringList{} << -1 << QString();
        QTest::newRow("Qt's -reverse is no -v") << QStringList{"-reverse"} << -1 << QString();
        QTest::newRow("Qt's -style and its value")
            << QStringList{"-style", "fusion", "--platform=offscreen", "-widgetcount"} << -1
            << QString();
        QTest::newRow("--bogus") << QStringList{"--bogus"} << 2 << unknown("--bogus");
        QTest::newRow("-hv is no -h") << QStringList{"-hv"} << 2 << unknown("-hv");
        QTest::newRow("--help=x") << QStringList{"--help=x"} << 2 << unknown("--help=x");
        QTest::newRow("a mistake beats --help")
            << QStringList{"--help", "-bogus"} << 2 << unknown("-bogus");
        QTest::newRow("-style without its value")
            << QStringList{"-reverse", "-style"} << 2
            << QStringLiteral("torvel: параметру «-style» нужно значение");
        QTest::newRow("a word") << QStringList{"rlin1.txt"} << 2
                                << QStringLiteral("torvel: лишний аргумент «rlin1.txt»");
        QTest::newRow("a word after --")
            << QStringList{"--", "-v"} << 2 << QStringLiteral("torvel: лишний аргумент «-v»");
    }
    void commandLine() {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, output);
        QString written;
        QString complained;
        QTextStream out(&written);
        QTextStream err(&complained);
        QCOMPARE(HandleCommandLine(QStringList{"torvel"} + arguments, out, err).value_or(-1),
                 exitCode);
        out.flush();
        err.flush();
        QCOMPARE((exitCode == 2 ? complained : written).section(u'\n', 0, 0), output);
        QCOMPARE((exitCode == 2 ? written : complained), QString());
        if (exitCode == 2) QVERIFY(complained.contains(QStringLiteral("  -h, --help")));
        if (exitCode == -1) return;
        // The real program answers without a display, before an application object would abort.
        QProcess program;
        program.setEnvironment({QStringLiteral("QT_QPA_PLATFORM=xcb")});
        program.start(TORVEL_EXE, arguments);
        QVERIFY(program.waitForFinished(10000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), exitCode);
        // Text goes out with the system's line ends: CR LF on Windows.
        const auto text = [](QByteArray bytes) {
#ifdef Q_OS_WIN
            bytes.replace("\r\n", "\n");
#endif
            return QString::fromUtf8(bytes);
        };
        const QString stdOut = text(program.readAllStandardOutput());
        const QString stdErr = text(program.readAllStandardError());
        QCOMPARE(stdOut, written);
        QCOMPARE(stdErr, complained);
    }

    // Every size the desktop asks for.
    void windowIcon() {
        SetDesktopIdentity();
        const QList<QSize> sizes = QGuiApplication::windowIcon().availableSizes();
        for (const int s : {16, 32, 48, 64}) QVERIFY(sizes.contains(QSize(s, s)));
    }
};

QTEST_MAIN(TestAppStart)
#include "tst_appstart.moc"
