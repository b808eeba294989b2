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

    // An answer goes to standard output, a mistake to standard error, nothing to the other.
    void commandLine_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");    // -1: the program goes on to start its windows
        QTest::addColumn<QString>("output");  // the first line written
        const auto row = [](const char* arguments, int exitCode, const QString& output) {
            QTest::addRow("torvel %s", arguments)
                << QString::fromLatin1(arguments).split(u' ', Qt::SkipEmptyParts) << exitCode
                << output;
        };
        const auto unknown = [](const char* option) {
            return QStringLiteral("torvel: неизвестный параметр «%1»").arg(QLatin1String(option));
        };
        row("-v", 0, QStringLiteral("torvel " TORVEL_TEST_VERSION));
        row("--version -h", 0, QStringLiteral("Использование: torvel [параметры]"));  // help first
        // Qt's own options are left to Qt (-reverse is not -v).
        row("-reverse -style fusion --platform=offscreen -widgetcount", -1, QString());
        row("-hv", 2, unknown("-hv"));  // not -h
        row("--help=x", 2, unknown("--help=x"));
        row("--help -bogus", 2, unknown("-bogus"));  // a mistake before the help
        row("-reverse -style", 2, QStringLiteral("torvel: параметру «-style» нужно значение"));
        row("rlin1.txt", 2, QStringLiteral("torvel: лишний аргумент «rlin1.txt»"));
        row("-- -v", 2, QStringLiteral("torvel: лишний аргумент «-v»"));
    }
    void commandLine() {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, output);
        QString written, complained;
        QTextStream out(&written), err(&complained);
        QCOMPARE(HandleCommandLine(QStringList{"torvel"} + arguments, out, err).value_or(-1),
                 exitCode);
        QCOMPARE((exitCode == 2 ? complained : written).section(u'\n', 0, 0), output);
        QCOMPARE((exitCode == 2 ? written : complained), QString());
        if (exitCode == 2) QVERIFY(complained.contains(QStringLiteral("  -h, --help")));
        if (exitCode == -1) return;
        // The real program answers without a display, before an application object would abort.
        QProcess program;
        program.setEnvironment({QStringLiteral("QT_QPA_PLATFORM=xcb")});
        program.start(TORVEL_EXE, arguments);
        QVERIFY(program.waitForFinished(10000) && program.exitStatus() == QProcess::NormalExit);
        QCOMPARE(program.exitCode(), exitCode);
        QByteArray stdOut = program.readAllStandardOutput(),
                   stdErr = program.readAllStandardError();
#ifdef Q_OS_WIN
        stdOut.replace("\r\n", "\n"), stdErr.replace("\r\n", "\n");  // the system's line ends
#endif
        QCOMPARE(QString::fromUtf8(stdOut), written);
        QCOMPARE(QString::fromUtf8(stdErr), complained);
    }

    // Refused only where Qt would abort: the X server's platform, chosen or by default, and no
    // display named.
    void missingDisplay_data() {
        QTest::addColumn<QString>("environment");
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<bool>("refused");
        const auto row = [](const char* name, const char* environment, const char* arguments,
                            bool refused) {
            QTest::newRow(name) << QString(environment) << QString(arguments) << refused;
        };
        row("nothing set", "", "", true);
        row("DISPLAY", "DISPLAY=:0", "", false);
        row("empty DISPLAY", "DISPLAY=", "", true);
        row("-display", "", "-display :1", false);
        row("--display=", "", "--display=:1", false);
        row("xcb chosen", "QT_QPA_PLATFORM=xcb", "", true);
        row("offscreen", "QT_QPA_PLATFORM=offscreen", "", false);
        row("xcb after a failing choice", "QT_QPA_PLATFORM=wayland;xcb", "", false);
        row("-platform over the variable", "QT_QPA_PLATFORM=xcb",
            "-platform offscreen:fontengine=freetype", false);
        row("-platform xcb", "QT_QPA_PLATFORM=offscreen", "-platform xcb", true);
        row("Wayland session", "XDG_SESSION_TYPE=wayland", "", false);
        row("Wayland compositor", "WAYLAND_DISPLAY=wayland-0", "", false);
        row("compositor but xcb chosen", "WAYLAND_DISPLAY=wayland-0 QT_QPA_PLATFORM=xcb", "", true);
    }
    void missingDisplay() {
        QFETCH(QString, environment);
        QFETCH(QString, arguments);
        QFETCH(bool, refused);
        QProcessEnvironment variables;
        for (const QString& pair : environment.split(u' ', Qt::SkipEmptyParts))
            variables.insert(pair.section(u'=', 0, 0), pair.section(u'=', 1));
        const QStringList argv = QStringList{"torvel"} + arguments.split(u' ', Qt::SkipEmptyParts);
        QCOMPARE(MissingDisplay(argv, variables).has_value(), refused);
    }
#ifndef Q_OS_WIN
    // The real program without a display: the line on standard error and status 1, not Qt's
    // abort.
    void withoutDisplay() {
        QProcess program;
        program.setEnvironment({QStringLiteral("LC_ALL=C.UTF-8")});  // none would be the parent's
        program.start(TORVEL_EXE, {});
        QVERIFY(program.waitForFinished(10000) && program.exitStatus() == QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 1);
        QCOMPARE(QString::fromUtf8(program.readAllStandardError()),
                 *MissingDisplay({"torvel"}, {}) + u'\n');
    }
#endif

    // Every size the desktop asks for.
    void windowIcon() {
        SetDesktopIdentity();
        const QList<QSize> sizes = QGuiApplication::windowIcon().availableSizes();
        for (const int s : {16, 32, 48, 64}) QVERIFY(sizes.contains(QSize(s, s)));
    }
};

QTEST_MAIN(TestAppStart)
#include "tst_appstart.moc"
