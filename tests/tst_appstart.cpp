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

    // The exit code (-1: the program goes on to start its windows) and the first line written.
    void commandLine_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("output");
        const QString version = QStringLiteral("torvel " TORVEL_TEST_VERSION);
        const QString help = QStringLiteral("Usage: torvel [options]");
        QTest::newRow("--version") << QStringList{"--version"} << 0 << version;
        QTest::newRow("-v") << QStringList{"-v"} << 0 << version;
        QTest::newRow("--help") << QStringList{"--help"} << 0 << help;
        QTest::newRow("-h") << QStringList{"-h"} << 0 << help;
        QTest::newRow("Qt's -reverse is no -v") << QStringList{"-reverse"} << -1 << QString();
    }
    void commandLine() {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, output);
        QString written;
        QTextStream out(&written);
        QCOMPARE(HandleCommandLine(QStringList{"torvel"} + arguments, out).value_or(-1), exitCode);
        out.flush();
        QCOMPARE(written.section(u'\n', 0, 0), output);
        if (exitCode != 0) return;
        // The real program answers without a display, before an application object would abort.
        QProcess program;
        program.setEnvironment({QStringLiteral("QT_QPA_PLATFORM=xcb")});
        program.start(TORVEL_EXE, arguments);
        QVERIFY(program.waitForFinished(10000));
        QCOMPARE(program.exitCode(), 0);
        QCOMPARE(QString(program.readAllStandardOutput()).section(u'\n', 0, 0), output);
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
