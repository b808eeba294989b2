#include <QFile>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QtMath>

#include "appdir.h"
#include "datafile.h"
#include "directionplot.h"
#include "flin1.h"
#include "imagecanvas.h"
#include "messages.h"

namespace {

const QByteArray kWorked = "217.344291652777,44.8168471212995\r\n";
const QString kMinus20 = "2507,198 3533,3018 4430,1095 1610,2121";
const QString kSatelliteLine = "line 2581,3042 3459,174 0,255,255";

// A compass's two axes for the ends south, north, west, east ("x,y" each).
QStringList compass(const QStringList& e) {
    const QStringList words = {" SOUNT", "NORTH", "  WEST", "EAST"};
    QStringList ops;
    for (int axis : {0, 2}) {
        const int first = axis == 0 ? 0 : 3;  // the west-east axis runs from its east end
        const int second = axis == 0 ? 1 : 2;
        ops.append({"line " + e[first] + " " + e[second] + " 0,0,255", "circle " + e[first] + " 50",
                    "circle " + e[second] + " 50"});
        for (int end : {axis, axis + 1})
            ops.append({"fore 255,0,0", "at " + e[end], "print \"" + words[end] + "\""});
    }
    return ops;
}

// Everything up to the reading of the file, with the turned compass's ends.
QStringList compasses(const QString& turned) {
    QStringList ops = {"clear", "mode copy", "width 1", "fill solid"};
    ops.append(compass({"3020,108", "3020,3108", "4520,1608", "1520,1608"}));
    ops.append("width 5");
    ops.append(compass(turned.split(' ')));
    ops.append({"fore 0,0,255", "width 20", "point 3020,1608", "width 8"});
    return ops;
}

void writeDataFile(const QByteArray& content) {
    QFile file(DataFilePath(AppDir()));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

QStringList press(const QString& rotation) {
    RecordingCanvas canvas;
    DrawPlot(canvas, rotation, DataFilePath(AppDir()), [] { return true; });
    return canvas.operations();
}

int countPixels(const QImage& image, const QColor& colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) count += image.pixelColor(x, y) == colour;
    return count;
}

}  // namespace

class TestPlot : public QObject {
    Q_OBJECT
private slots:
    void init() {
        m_messages.clear();
        Messages::setHandler([this](QWidget*, const QString& text) { m_messages << text; });
        QFile::remove(DataFilePath(AppDir()));
    }
    void presses_data();
    void presses();
    void stops_data();
    void stops();
    void arcRule_data();
    void arcRule();
    void window();
    void discsTakeTheColourLeftBehind();
    void startTwiceSamePicture();
    void startAgainDuringYield();
    void closedDuringYield();

private:
    QStringList m_messages;
};

void TestPlot::presses_data() {
    QTest::addColumn<QString>("rotation");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("turned");  // south, north, west, east ends
    QTest::addColumn<QString>("tail");    // satellite line, arc angles, text position, text
    const QString& m20 = kMinus20;
    const QString zero = "3020,108 3020,3108 4520,1608 1520,1608";
    const QString worked = "2581,3042 3459,174|1.27409 5.06145|3159,374|alfa= 217";
    const QString at0 = "2117,2806 3923,410|0.925024 4.71239|3623,610|alfa= 217";
    const QString half = "2569,3039 3471,177|1.26536 5.06145|3171,377|alfa= 217.5";
    QTest::newRow("worked example") << "-20" << kWorked << m20 << worked;
    QTest::newRow("rotation 20") << "20" << kWorked << "3533,198 2507,3018 4430,2121 1610,1095"
                                 << "1762,2425 4278,791|0.575958 4.36332|3978,991|alfa= 217";
    QTest::newRow("rotation 0") << "0" << kWorked << zero << at0;
    QTest::newRow("letters only") << "abc" << kWorked << zero << at0;
    QTest::newRow("comma ends the number") << "-20,5" << kWorked << m20 << worked;
    QTest::newRow("due south") << "-20" << QByteArray("180,45\r\n") << m20
                               << "3533,3018 2507,198|1.91986 5.06145|2207,398|alfa= 180";
    QTest::newRow("217.7") << "-20" << QByteArray("217.7,1\r\n") << m20 << half;
    QTest::newRow("217.4") << "-20" << QByteArray("217.4,1\r\n") << m20 << worked;
    QTest::newRow("217.5") << "-20" << QByteArray("217.5,1\r\n") << m20 << half;
    QTest::newRow("20.4999999") << "-20" << QByteArray("20.4999999,1\r\n") << m20
                                << "3033,108 3007,3108|4.70366 5.06145|2707,3308|alfa= 20.5";
    QTest::newRow("extra lines and fields")
        << "-20" << QByteArray("217.33,44.8,12\r\n90,45\r\n") << m20 << worked;
    QTest::newRow("both arc angles negative")
        << "400" << QByteArray("217.33,1") << "3984,459 2056,2757 4169,2572 1871,644"
        << "1558,1945 4482,1271|-6.05629 -2.26893|4182,1471|alfa= 217";
    QTest::newRow("arc beyond a turn")
        << "1000" << QByteArray("217.33,1") << "1543,1348 4497,1868 3280,131 2760,3085"
        << "4043,2705 1997,511|-16.5283 -12.7409|1697,711|alfa= 217";
}

void TestPlot::presses() {
    QFETCH(QString, rotation);
    QFETCH(QByteArray, file);
    QFETCH(QString, turned);
    QFETCH(QString, tail);
    writeDataFile(file);
    const QStringList t = tail.split('|');
    QStringList expected = compasses(turned);
    expected.append({"line " + t[0] + " 0,255,255", "width 2", "arc 3020,1608 400 " + t[1],
                     "at " + t[2], "fore 0,0,0", "print \"" + t[3] + "\""});
    QCOMPARE(press(rotation), expected);
}

void TestPlot::stops_data() {
    QTest::addColumn<QString>("rotation");
    QTest::addColumn<QByteArray>("file");  // null: no file
    QTest::addColumn<QString>("lastOp");   // where the press stopped
    QTest::addColumn<QString>("message");  // how the message begins
    const QString noData = "Нет данных о направлении на спутник: файл " + DataFilePath(AppDir());
    QTest::newRow("no file") << "-20" << QByteArray() << "width 8" << noData;
    QTest::newRow("one field") << "-20" << QByteArray("217.33\r\n") << "width 8" << noData;
    QTest::newRow("rotation beyond single") << "1e39" << kWorked << "width 5"
                                            << "Угол";
    QTest::newRow("azimuth beyond single") << "-20" << QByteArray("4e38,1") << "width 8"
                                           << "Азимут";
    QTest::newRow("sum beyond single") << "3e38" << QByteArray("3e38,1") << "width 8"
                                       << "Азимут";
}

void TestPlot::stops() {
    QFETCH(QString, rotation);
    QFETCH(QByteArray, file);
    QFETCH(QString, lastOp);
    QFETCH(QString, message);
    if (!file.isNull()) writeDataFile(file);
    FLIN1 window({});
    window.findChild<QLineEdit*>("POZIA")->setText(rotation);
    window.findChild<QPushButton*>("START")->click();
    QCOMPARE(window.lastOperations().last(), lastOp);
    // What was drawn before the file was read stays.
    if (rotation == "-20") QCOMPARE(window.lastOperations(), compasses(kMinus20));
    QCOMPARE(m_messages.size(), 1);
    QVERIFY2(m_messages[0].startsWith(message), qPrintable(m_messages[0]));
}

void TestPlot::arcRule_data() {
    QTest::addColumn<double>("start");
    QTest::addColumn<double>("end");
    // "colour@angle/distance" in pixels around the centre: red within one pixel, the others on
    // the pixel and all around it.
    QTest::addColumn<QString>("probes");
    const QString plain = "red@1.25/40 white@3/40 white@0.5/20 white@2/20 white@1.25/20";
    QTest::newRow("positive: arc only") << 0.5 << 2.0 << plain;
    QTest::newRow("negative start") << -0.5 << 2.0 << "red@0.5/20 white@2/20";
    QTest::newRow("negative end") << 0.5 << -2.0 << "white@0.5/20 red@2/20";
    QTest::newRow("both negative: filled sector")
        << -0.5 << -2.0 << "red@1.25/40 red@0.5/20 red@2/20 black@1.25/20 white@4/20";
    QTest::newRow("start after end") << 5.5 << 1.0 << "red@0/40 white@3.14/40";
    QTest::newRow("negative beyond a turn")
        << -0.5 - 4 * M_PI << 2.0 << "red@1.25/40 red@0.5/20 white@2/20";
}

void TestPlot::arcRule() {
    QFETCH(double, start);
    QFETCH(double, end);
    QFETCH(QString, probes);
    ImageCanvas canvas(QSize(100, 100), Qt::white, Qt::red, QFont());
    canvas.clear();
    canvas.setFillStyle(FillStyle::Solid);
    canvas.arc(QPoint(750, 750), 600, start, end);
    for (const QString& probe : probes.split(' ')) {
        const QColor colour(probe.section('@', 0, 0));
        const double angle = probe.section('@', 1).section('/', 0, 0).toDouble();
        const double distance = probe.section('/', 1).toDouble();
        const QPoint at(qRound(50 + distance * std::cos(angle)),
                        qRound(50 - distance * std::sin(angle)));
        const int matches = countPixels(canvas.image().copy(at.x() - 1, at.y() - 1, 3, 3), colour);
        QVERIFY2(colour == Qt::red ? matches > 0 : matches == 9, qPrintable(probe));
    }
}

void TestPlot::window() {
    int exits = 0;
    FLIN1 window([&exits] { ++exits; });
    QCOMPARE(window.windowTitle(), "CYRC1");
    QCOMPARE(window.size(), QSize(334, 221));
    const QList<std::tuple<const char*, QRect, QString>> controls = {
        {"START", {8, 8, 49, 25}, "START"},
        {"CMDEXIT", {8, 152, 41, 25}, "EXIT"},
        {"POZIA", {8, 112, 41, 25}, "-20"},
        {"Label1", {8, 48, 41, 57}, " сдвиг      осей        на        угол"}};
    for (const auto& [name, geometry, text] : controls) {
        QWidget* control = window.findChild<QWidget*>(name);
        QVERIFY2(control && control->geometry() == geometry, name);
        QCOMPARE(control->property("text").toString(), text);
    }
    QCOMPARE(window.findChild<QWidget*>("START")->nextInFocusChain()->objectName(), "CMDEXIT");
    QCOMPARE(window.findChild<QWidget*>("CMDEXIT")->nextInFocusChain()->objectName(), "POZIA");
    window.show();
    window.findChild<QPushButton*>("CMDEXIT")->click();
    QCOMPARE(exits, 1);
    QVERIFY(window.isVisible());
}

void TestPlot::discsTakeTheColourLeftBehind() {
    // The first two discs take the foreground colour the canvas holds: the text colour on the
    // first press, the black that the "alfa=" text leaves behind on every later one.
    writeDataFile(kWorked);
    const QColor textColour(0, 128, 0);
    ImageCanvas canvas(QSize(334, 221), Qt::white, textColour, QFont());
    DrawPlot(canvas, "-20", DataFilePath(AppDir()), [] { return true; });
    QVERIFY(countPixels(canvas.image(), textColour) > 0);
    DrawPlot(canvas, "-20", DataFilePath(AppDir()), [] { return true; });
    QCOMPARE(countPixels(canvas.image(), textColour), 0);
}

void TestPlot::startTwiceSamePicture() {
    writeDataFile(kWorked);
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
    // A repaint shows the picture: the satellite line's midpoint is cyan on the screen.
    window.repaint();
    QCOMPARE(window.grab().toImage().pixelColor(201, 107), QColor(Qt::cyan));
}

void TestPlot::startAgainDuringYield() {
    writeDataFile(kWorked);
    FLIN1 window({});
    auto* start = window.findChild<QPushButton*>("START");
    int presses = 0;
    QTimer::singleShot(0, start, [&] {
        ++presses;
        start->click();
    });
    start->click();
    QCOMPARE(presses, 1);
    QVERIFY(window.lastOperations().contains(kSatelliteLine));
    QCOMPARE(window.lastOperations().last(), "print \"alfa= 217\"");
}

void TestPlot::closedDuringYield() {
    QPointer<FLIN1> window = new FLIN1({});
    QTimer::singleShot(0, [&window] { delete window.data(); });
    window->findChild<QPushButton*>("START")->click();
    QVERIFY(window.isNull());
    QVERIFY(m_messages.isEmpty());  // the press ended at the yield, before reading the file
}

QTEST_MAIN(TestPlot)
#include "tst_plot.moc"
