#include <QProcess>
#include <QTest>

#include "appstart.h"

// The command line before any window, on its own and through the real program; the window icon.
class TestAppStart : public QObject {
    Q_OBJECT
    const QString m_version = QStringLiteral("torvel " TORVEL_TEST_VERSION "\n");

private slots:
    void initTestCase() { SetApplicationNameAndVersion(); }

    // Arguments after the command's name; the exit code (-1: the program starts its windows);
    // the start of what it writes.
    void commandLine_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("output");
        const QString help = "Usage: torvel [options]\n";
        QTest::newRow("none") << QStringList() << -1 << "";
        QTest::newRow("--version") << QStringList{"--version"} << 0 << m_version;
        QTest::newRow("-v") << QStringList{"-v"} << 0 << m_version;
        QTest::newRow("--help") << QStringList{"--help"} << 0 << help;
        QTest::newRow("-h") << QStringList{"-h"} << 0 << help;
        QTest::newRow("help before version") << QStringList{"-h", "-v"} << 0 << help;
        // Qt's own options pass; none of their letters is taken for -v or -h.
        QTest::newRow("-reverse") << QStringList{"-reverse"} << -1 << "";
        QTest::newRow("-platform offscreen") << QStringList{"-platform", "offscreen"} << -1 << "";
        QTest::newRow("-style then --version")
            << QStringList{"-style", "fusion", "--version"} << 0 << m_version;
        QTest::newRow("a file name") << QStringList{"rlin1.txt"} << -1 << "";
    }
    void commandLine() {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, output);
        QString written;
        QTextStream out(&written);
        const std::optional<int> result = HandleCommandLine(QStringList{"torvel"} + arguments, out);
        out.flush();
        QCOMPARE(result.value_or(-1), exitCode);
        if (output.isEmpty())
            QVERIFY2(written.isEmpty(), qPrintable(written));
        else
            QVERIFY2(written.startsWith(output), qPrintable(written));
        if (output.startsWith("Usage")) QVERIFY(written.contains("--version"));
    }

    // The program answers without a display: it ends before creating the application object,
    // which would abort on the missing display, and before any window.
    void programWithoutDisplay_data() {
        QTest::addColumn<QString>("argument");
        QTest::addColumn<QString>("output");
        QTest::newRow("--version") << "--version" << m_version;
        QTest::newRow("--help") << "--help"
                                << "Usage: torvel [options]\n";
    }
    void programWithoutDisplay() {
        QFETCH(QString, argument);
        QFETCH(QString, output);
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove("DISPLAY");
        environment.remove("WAYLAND_DISPLAY");
        environment.insert("QT_QPA_PLATFORM", "xcb");
        program.setProcessEnvironment(environment);
        program.start(TORVEL_EXE, {argument});
        QVERIFY(program.waitForFinished(10000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        QVERIFY(QString::fromLocal8Bit(program.readAllStandardOutput()).startsWith(output));
        QCOMPARE(program.readAllStandardError(), QByteArray());
    }

    // Every size the desktop asks for, each picture drawn at its own size and not blank.
    void iconSizes() {
        const QIcon icon = AppIcon();
        const QList<QSize> expected = {{16, 16}, {32, 32},   {48, 48},
                                       {64, 64}, {128, 128}, {256, 256}};
        QList<QSize> sizes = icon.availableSizes();
        std::sort(sizes.begin(), sizes.end(),
                  [](const QSize& a, const QSize& b) { return a.width() < b.width(); });
        QCOMPARE(sizes, expected);
        for (const QSize& size : expected) {
            const QImage image = icon.pixmap(size).toImage();
            QCOMPARE(image.size(), size);
            QCOMPARE(QImage(QStringLiteral(":/icons/%1.png").arg(size.width())).size(), size);
            int opaque = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x) opaque += qAlpha(image.pixel(x, y)) == 255;
            QVERIFY(opaque > image.width() * image.height() / 20);
        }
    }
};

QTEST_MAIN(TestAppStart)
#include "tst_appstart.moc"
