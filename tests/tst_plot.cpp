#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <QtMath>

#include "appdir.h"
#include "canvas.h"
#include "datafile.h"
#include "directionplot.h"
#include "flin1.h"
#include "imagecanvas.h"
#include "messages.h"

namespace {

const QByteArray kWorkedFile = "217.344291652777,44.8168471212995\r\n";

QString pt(QPoint p) {
    return QStringLiteral("%1,%2").arg(p.x()).arg(p.y());
}

// What an axis draws after the previous operations: its line, two discs, two red words.
QStringList axisOps(QPoint first, QPoint second, const char* firstWord, const char* secondWord,
                    bool westEast) {
    QStringList ops = {"line " + pt(first) + " " + pt(second) + " 0,0,255",
                       "circle " + pt(first) + " 50", "circle " + pt(second) + " 50"};
    const QPoint firstAt = westEast ? second : first;
    const QPoint secondAt = westEast ? first : second;
    ops << "fore 255,0,0"
        << "at " + pt(firstAt) << QStringLiteral("print \"%1\"").arg(firstWord) << "fore 255,0,0"
        << "at " + pt(secondAt) << QStringLiteral("print \"%1\"").arg(secondWord);
    return ops;
}

QStringList fixedCompassOps() {
    QStringList ops = {"clear", "mode copy", "width 1", "fill solid"};
    ops << axisOps({3020, 108}, {3020, 3108}, " SOUNT", "NORTH", false);
    ops << axisOps({1520, 1608}, {4520, 1608}, "  WEST", "EAST", true);
    return ops;
}

// Everything from the turned compass to the centre dot, for the turned compass's four ends.
QStringList turnedCompassOps(QPoint south, QPoint north, QPoint west, QPoint east) {
    QStringList ops = {"width 5"};
    ops << axisOps(south, north, " SOUNT", "NORTH", false);
    ops << axisOps(east, west, "  WEST", "EAST", true);
    ops << "fore 0,0,255"
        << "width 20"
        << "point 3020,1608"
        << "width 8";
    return ops;
}

void writeDataFile(const QByteArray& content) {
    QFile file(DataFilePath(AppDir()));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

struct Press {
    PlotRun run;
    QStringList ops;
};

Press press(const QString& rotation) {
    RecordingCanvas canvas;
    const PlotRun run = DrawPlot(canvas, rotation, DataFilePath(AppDir()), [] { return true; });
    return {run, canvas.operations()};
}

// Checks the colour of image pixels in polar probes around (50, 50): "red@1.25/40" means the
// pixel at 1.25 radians anticlockwise from the right, 40 pixels out, is red (within one pixel);
// white and black probes must hold on the pixel itself and around it.
void checkProbes(const QImage& image, const QString& probes) {
    for (const QString& probe : probes.split(' ', Qt::SkipEmptyParts)) {
        const QStringList parts = probe.split(QRegularExpression("[@/]"));
        const QColor colour(parts[0]);
        const double angle = parts[1].toDouble();
        const double distance = parts[2].toDouble();
        const int x = qRound(50 + distance * std::cos(angle));
        const int y = qRound(50 - distance * std::sin(angle));
        bool any = false;
        bool all = true;
        for (int dx = -1; dx <= 1; ++dx)
            for (int dy = -1; dy <= 1; ++dy) {
                const bool match = image.pixelColor(x + dx, y + dy) == colour;
                any = any || match;
                all = all && match;
            }
        const bool ok = colour == QColor(Qt::red) ? any : all;
        QVERIFY2(ok, qPrintable(probe));
    }
}

}  // namespace

class TestPlot : public QObject {
    Q_OBJECT
private slots:
    void init();
    void workedExample();
    void presses_data();
    void presses();
    void noDirectionData_data();
    void noDirectionData();
    void outOfRange_data();
    void outOfRange();
    void arcRule_data();
    void arcRule();
    void reduceArcAngle_data();
    void reduceArcAngle();
    void windowLayout_data();
    void windowLayout();
    void startTwiceSamePicture();
    void pictureSurvivesRepaint();
    void exitShowsMain();
    void startAgainDuringYield();
    void closedDuringYield();

private:
    QStringList m_messages;
};

void TestPlot::init() {
    m_messages.clear();
    Messages::setHandler([this](QWidget*, const QString& text) { m_messages << text; });
    QFile::remove(DataFilePath(AppDir()));
}

void TestPlot::workedExample() {
    writeDataFile(kWorkedFile);
    const Press p = press("-20");
    QCOMPARE(p.run.end, PlotEnd::Completed);
    QStringList expected = fixedCompassOps();
    expected << turnedCompassOps({2507, 198}, {3533, 3018}, {4430, 1095}, {1610, 2121});
    expected << "line 2581,3042 3459,174 0,255,255"
             << "width 2"
             << "arc 3020,1608 400 1.27409 5.06145"
             << "at 3159,374"
             << "fore 0,0,0"
             << "print \"alfa= 217\"";
    QCOMPARE(p.ops, expected);
    QVERIFY(m_messages.isEmpty());
}

void TestPlot::presses_data() {
    QTest::addColumn<QString>("rotation");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QList<QPoint>>("turned");  // south, north, west, east ends
    QTest::addColumn<QString>("satellite");
    QTest::addColumn<QString>("arc");
    QTest::addColumn<QString>("textAt");
    QTest::addColumn<QString>("text");

    const QList<QPoint> minus20 = {{2507, 198}, {3533, 3018}, {4430, 1095}, {1610, 2121}};
    const QList<QPoint> zero = {{3020, 108}, {3020, 3108}, {4520, 1608}, {1520, 1608}};
    QTest::newRow("rotation -20") << "-20" << kWorkedFile << minus20 << "2581,3042 3459,174"
                                  << "1.27409 5.06145"
                                  << "3159,374"
                                  << "alfa= 217";
    QTest::newRow("rotation 20") << "20" << kWorkedFile
                                 << QList<QPoint>{{3533, 198},
                                                  {2507, 3018},
                                                  {4430, 2121},
                                                  {1610, 1095}}
                                 << "1762,2425 4278,791"
                                 << "0.575958 4.36332"
                                 << "3978,991"
                                 << "alfa= 217";
    QTest::newRow("rotation 0") << "0" << kWorkedFile << zero << "2117,2806 3923,410"
                                << "0.925024 4.71239"
                                << "3623,610"
                                << "alfa= 217";
    QTest::newRow("letters only") << "abc" << kWorkedFile << zero << "2117,2806 3923,410"
                                  << "0.925024 4.71239"
                                  << "3623,610"
                                  << "alfa= 217";
    QTest::newRow("comma ends the number")
        << "-20,5" << kWorkedFile << minus20 << "2581,3042 3459,174"
        << "1.27409 5.06145"
        << "3159,374"
        << "alfa= 217";
    QTest::newRow("due south") << "-20" << QByteArray("180,45\r\n") << minus20
                               << "3533,3018 2507,198"
                               << "1.91986 5.06145"
                               << "2207,398"
                               << "alfa= 180";
    QTest::newRow("217.7") << "-20" << QByteArray("217.7,45\r\n") << minus20 << "2569,3039 3471,177"
                           << "1.26536 5.06145"
                           << "3171,377"
                           << "alfa= 217.5";
    QTest::newRow("217.4") << "-20" << QByteArray("217.4,45\r\n") << minus20 << "2581,3042 3459,174"
                           << "1.27409 5.06145"
                           << "3159,374"
                           << "alfa= 217";
    QTest::newRow("217.5") << "-20" << QByteArray("217.5,45\r\n") << minus20 << "2569,3039 3471,177"
                           << "1.26536 5.06145"
                           << "3171,377"
                           << "alfa= 217.5";
    QTest::newRow("20.4999999") << "-20" << QByteArray("20.4999999,45\r\n") << minus20
                                << "3033,108 3007,3108"
                                << "4.70366 5.06145"
                                << "2707,3308"
                                << "alfa= 20.5";
    QTest::newRow("negative azimuth")
        << "-20" << QByteArray("-20.3,45\r\n") << minus20 << "2046,467 3994,2749"
        << "5.41924 5.06145"
        << "3694,2949"
        << "alfa=-20.5";
    QTest::newRow("extra lines and fields")
        << "-20" << QByteArray("217.33,44.8,12\r\n90,45\r\n") << minus20 << "2581,3042 3459,174"
        << "1.27409 5.06145"
        << "3159,374"
        << "alfa= 217";
    QTest::newRow("empty elevation")
        << "-20" << QByteArray("217.33,\r\n") << minus20 << "2581,3042 3459,174"
        << "1.27409 5.06145"
        << "3159,374"
        << "alfa= 217";
    QTest::newRow("fields on two lines")
        << "-20" << QByteArray("217.33\r\n45") << minus20 << "2581,3042 3459,174"
        << "1.27409 5.06145"
        << "3159,374"
        << "alfa= 217";
    QTest::newRow("both arc angles negative")
        << "400" << QByteArray("217.33,45\r\n")
        << QList<QPoint>{{3984, 459}, {2056, 2757}, {4169, 2572}, {1871, 644}}
        << "1558,1945 4482,1271"
        << "-6.05629 -2.26893"
        << "4182,1471"
        << "alfa= 217";
    QTest::newRow("arc beyond a turn")
        << "1000" << QByteArray("217.33,45\r\n")
        << QList<QPoint>{{1543, 1348}, {4497, 1868}, {3280, 131}, {2760, 3085}}
        << "4043,2705 1997,511"
        << "-16.5283 -12.7409"
        << "1697,711"
        << "alfa= 217";
}

void TestPlot::presses() {
    QFETCH(QString, rotation);
    QFETCH(QByteArray, file);
    QFETCH(QList<QPoint>, turned);
    QFETCH(QString, satellite);
    QFETCH(QString, arc);
    QFETCH(QString, textAt);
    QFETCH(QString, text);
    writeDataFile(file);
    const Press p = press(rotation);
    QCOMPARE(p.run.end, PlotEnd::Completed);
    QStringList expected = fixedCompassOps();
    expected << turnedCompassOps(turned[0], turned[1], turned[2], turned[3]);
    expected << "line " + satellite + " 0,255,255"
             << "width 2"
             << "arc 3020,1608 400 " + arc << "at " + textAt << "fore 0,0,0"
             << "print \"" + text + "\"";
    QCOMPARE(p.ops, expected);
}

void TestPlot::noDirectionData_data() {
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QByteArray>("file");
    QTest::newRow("missing") << false << QByteArray();
    QTest::newRow("empty") << true << QByteArray();
    QTest::newRow("one field") << true << QByteArray("217.33");
    QTest::newRow("one field and line end") << true << QByteArray("217.33\r\n");
}

void TestPlot::noDirectionData() {
    QFETCH(bool, exists);
    QFETCH(QByteArray, file);
    if (exists) writeDataFile(file);
    const Press p = press("-20");
    QCOMPARE(p.run.end, PlotEnd::NoDirectionData);
    // Both compasses and the centre dot stay.
    QStringList expected = fixedCompassOps();
    expected << turnedCompassOps({2507, 198}, {3533, 3018}, {4430, 1095}, {1610, 2121});
    QCOMPARE(p.ops, expected);

    FLIN1 window({});
    window.findChild<QPushButton*>("START")->click();
    QCOMPARE(window.lastOperations(), expected);
    QCOMPARE(m_messages.size(), 1);
    QVERIFY(m_messages[0].startsWith("Нет данных о направлении"));
    QVERIFY(m_messages[0].contains("расчёт"));
    QVERIFY(m_messages[0].contains(DataFilePath(AppDir())));
}

void TestPlot::outOfRange_data() {
    QTest::addColumn<QString>("rotation");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("lastOp");
    QTest::newRow("rotation beyond single") << "1e39" << kWorkedFile << "width 5";
    QTest::newRow("rotation beyond double") << "-1e400" << kWorkedFile << "width 5";
    QTest::newRow("azimuth beyond single") << "-20" << QByteArray("4e38,1\r\n") << "width 8";
    QTest::newRow("sum beyond single") << "3e38" << QByteArray("3e38,1\r\n") << "width 8";
    QTest::newRow("largest rotation still draws")
        << "3.4e38" << kWorkedFile << "print \"alfa= 217\"";
}

void TestPlot::outOfRange() {
    QFETCH(QString, rotation);
    QFETCH(QByteArray, file);
    QFETCH(QString, lastOp);
    writeDataFile(file);
    FLIN1 window({});
    window.findChild<QLineEdit*>("POZIA")->setText(rotation);
    window.findChild<QPushButton*>("START")->click();
    QCOMPARE(window.lastOperations().last(), lastOp);
    const bool completed = lastOp.startsWith("print");
    QCOMPARE(m_messages.size(), completed ? 0 : 1);
}

void TestPlot::arcRule_data() {
    QTest::addColumn<double>("start");
    QTest::addColumn<double>("end");
    QTest::addColumn<bool>("solid");
    QTest::addColumn<QString>("probes");
    const QString plain = "red@1.25/40 white@3/40 white@0.5/20 white@2/20 white@1.25/20";
    QTest::newRow("positive angles: arc only") << 0.5 << 2.0 << true << plain;
    QTest::newRow("negative start: radius to start")
        << -0.5 << 2.0 << true << "red@1.25/40 red@0.5/20 white@2/20 white@1.25/20";
    QTest::newRow("negative end: radius to end")
        << 0.5 << -2.0 << true << "red@1.25/40 white@0.5/20 red@2/20 white@1.25/20";
    QTest::newRow("both negative: filled sector")
        << -0.5 << -2.0 << true << "red@1.25/40 red@0.5/20 red@2/20 black@1.25/20 white@4/20";
    QTest::newRow("both negative, transparent: open sector")
        << -0.5 << -2.0 << false << "red@0.5/20 red@2/20 white@1.25/20";
    QTest::newRow("start after end: through the right")
        << 5.5 << 1.0 << true << "red@0/40 white@3.14/40";
    QTest::newRow("beyond a turn") << 0.5 + 6 * M_PI << 2.0 + 2 * M_PI << true << plain;
    QTest::newRow("negative beyond a turn")
        << -0.5 - 4 * M_PI << 2.0 << true << "red@1.25/40 red@0.5/20 white@2/20";
}

void TestPlot::arcRule() {
    QFETCH(double, start);
    QFETCH(double, end);
    QFETCH(bool, solid);
    QFETCH(QString, probes);
    ImageCanvas canvas(QSize(100, 100), Qt::white, Qt::red, QFont());
    canvas.clear();
    canvas.setFillStyle(solid ? FillStyle::Solid : FillStyle::Transparent);
    canvas.arc(QPoint(750, 750), 600, start, end);
    checkProbes(canvas.image(), probes);
}

void TestPlot::reduceArcAngle_data() {
    QTest::addColumn<double>("angle");
    QTest::addColumn<double>("reduced");
    QTest::newRow("inside") << 6.0 << 6.0;
    QTest::newRow("negative inside") << -6.28 << -6.28;
    QTest::newRow("one turn over") << 7.0 << 7.0 - 2 * M_PI;
    QTest::newRow("negative one turn over") << -7.0 << -(7.0 - 2 * M_PI);
    QTest::newRow("many turns") << 0.25 + 20 * M_PI << 0.25;
}

void TestPlot::reduceArcAngle() {
    QFETCH(double, angle);
    QFETCH(double, reduced);
    QVERIFY(qAbs(ReduceArcAngle(angle) - reduced) < 1e-9);
}

void TestPlot::windowLayout_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("text");
    QTest::newRow("START") << "START" << QRect(8, 8, 49, 25) << "START";
    QTest::newRow("CMDEXIT") << "CMDEXIT" << QRect(8, 152, 41, 25) << "EXIT";
    QTest::newRow("POZIA") << "POZIA" << QRect(8, 112, 41, 25) << "-20";
    QTest::newRow("Label1") << "Label1" << QRect(8, 48, 41, 57)
                            << " сдвиг      осей        на        угол";
}

void TestPlot::windowLayout() {
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    QFETCH(QString, text);
    FLIN1 window({});
    QCOMPARE(window.windowTitle(), "CYRC1");
    QCOMPARE(window.size(), QSize(334, 221));
    QWidget* control = window.findChild<QWidget*>(name);
    QVERIFY(control);
    QCOMPARE(control->geometry(), geometry);
    QString shown = control->property("text").toString();
    QCOMPARE(shown, text);
    // Tab order: START, CMDEXIT, POZIA.
    QCOMPARE(window.findChild<QWidget*>("START")->nextInFocusChain()->objectName(), "CMDEXIT");
    QCOMPARE(window.findChild<QWidget*>("CMDEXIT")->nextInFocusChain()->objectName(), "POZIA");
}

void TestPlot::startTwiceSamePicture() {
    writeDataFile(kWorkedFile);
    FLIN1 window({});
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* start = window.findChild<QPushButton*>("START");
    QTest::mouseClick(start, Qt::LeftButton);
    const QStringList firstOps = window.lastOperations();
    const QImage firstPicture = window.picture();
    QTest::mouseClick(start, Qt::LeftButton);
    QCOMPARE(window.lastOperations(), firstOps);
    QCOMPARE(window.picture(), firstPicture);
    // The satellite line is on the picture: its midpoint in pixels.
    QCOMPARE(firstPicture.pixelColor((2581 + 3459) / 30, (3042 + 174) / 30), QColor(Qt::cyan));
}

void TestPlot::pictureSurvivesRepaint() {
    writeDataFile(kWorkedFile);
    FLIN1 window({});
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.findChild<QPushButton*>("START")->click();
    window.repaint();
    const QImage shown = window.grab().toImage();
    QCOMPARE(shown.pixelColor((2581 + 3459) / 30, (3042 + 174) / 30), QColor(Qt::cyan));
}

void TestPlot::exitShowsMain() {
    int calls = 0;
    FLIN1 window([&calls] { ++calls; });
    window.show();
    window.findChild<QPushButton*>("CMDEXIT")->click();
    QCOMPARE(calls, 1);
    QVERIFY(window.isVisible());
}

void TestPlot::startAgainDuringYield() {
    writeDataFile(kWorkedFile);
    FLIN1 window({});
    auto* start = window.findChild<QPushButton*>("START");
    int presses = 0;
    QTimer::singleShot(0, start, [&] {
        ++presses;
        start->click();
    });
    start->click();
    QCOMPARE(presses, 1);
    QCOMPARE(window.lastOperations().last(), "print \"alfa= 217\"");
    QCOMPARE(window.picture().pixelColor((2581 + 3459) / 30, (3042 + 174) / 30), QColor(Qt::cyan));
}

void TestPlot::closedDuringYield() {
    writeDataFile(QByteArray());
    QPointer<FLIN1> window = new FLIN1({});
    QTimer::singleShot(0, [&window] { delete window.data(); });
    window->findChild<QPushButton*>("START")->click();
    QVERIFY(window.isNull());
    QVERIFY(m_messages.isEmpty());
}

QTEST_MAIN(TestPlot)
#include "tst_plot.moc"
