#include <sys/stat.h>

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "appdir.h"
#include "canvas.h"
#include "flin1.h"
#include "imagecanvas.h"
#include "messages.h"
#include "pipewatch.h"

using namespace Qt::StringLiterals;
using D = DrawOp;

namespace {

const QColor kBlue(0, 0, 255), kRed(255, 0, 0), kCyan(0, 255, 255), kBlack(0, 0, 0);
const QByteArray kWorked = "217.344291652777,44.8168471212995\r\n";

// A press with rotation -20 on kWorked: the fixed compass, the turned one, the centre dot, and
// from operation 44 on what the data file decides.
// clang-format off
const QList<DrawOp> kWorkedPress = {
    D::clear(), D::lineWidth(1), D::fillStyle(FillStyle::Solid),
    D::line({3020, 108}, {3020, 3108}, kBlue), D::circle({3020, 108}, 50), D::circle({3020, 3108}, 50),
    D::foreColor(kRed), D::textPosition({3020, 108}), D::print(" SOUNT"),
    D::foreColor(kRed), D::textPosition({3020, 3108}), D::print("NORTH"),
    D::line({1520, 1608}, {4520, 1608}, kBlue), D::circle({1520, 1608}, 50), D::circle({4520, 1608}, 50),
    D::foreColor(kRed), D::textPosition({4520, 1608}), D::print("  WEST"),
    D::foreColor(kRed), D::textPosition({1520, 1608}), D::print("EAST"),
    D::lineWidth(5),
    D::line({2507, 198}, {3533, 3018}, kBlue), D::circle({2507, 198}, 50), D::circle({3533, 3018}, 50),
    D::foreColor(kRed), D::textPosition({2507, 198}), D::print(" SOUNT"),
    D::foreColor(kRed), D::textPosition({3533, 3018}), D::print("NORTH"),
    D::line({1610, 2121}, {4430, 1095}, kBlue), D::circle({1610, 2121}, 50), D::circle({4430, 1095}, 50),
    D::foreColor(kRed), D::textPosition({4430, 1095}), D::print("  WEST"),
    D::foreColor(kRed), D::textPosition({1610, 2121}), D::print("EAST"),
    D::foreColor(kBlue), D::lineWidth(20), D::point({3020, 1608}), D::lineWidth(8),
    D::line({2581, 3042}, {3459, 174}, kCyan), D::lineWidth(2), D::arc({3020, 1608}, 400, 1.27409f, 5.06145f),
    D::textPosition({3159, 374}), D::foreColor(kBlack), D::print(u"alfa= 217"_s),
};
// clang-format on
constexpr int kBeforeFile = 44;

// What stands at the data file's name, or no name at all (the program folder cannot be used).
enum class Place { Pipe, NoPath };

}  // namespace

Q_DECLARE_METATYPE(Place)

namespace QTest {
template <>
char* toString(const DrawOp& op) {
    return qstrdup(op.toString().toUtf8().constData());
}
}  // namespace QTest

class TestPlot : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_dataFile = m_dir.filePath(u"rlin1.txt"_s);
    QStringList m_messages;

    // One press of START with the rotation text; the file holds content, or is missing if null.
    QList<DrawOp> press(const QString& rotation, const QByteArray& content) {
        QFile::remove(m_dataFile);
        QFile file(m_dataFile);
        if (!content.isNull() && file.open(QIODevice::WriteOnly)) file.write(content);
        file.close();
        FLIN1 window(m_dataFile, {});
        window.findChild<QLineEdit*>(u"POZIA"_s)->setText(rotation);
        window.findChild<QPushButton*>(u"START"_s)->click();
        return window.lastPress().operations();
    }

private slots:
    void init() {
        m_messages.clear();
        Messages::setHandler([this](QWidget*, const QString& text) { m_messages << text; });
    }

    void completedPresses_data() {
        QTest::addColumn<QString>("rotation");
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QPoint>(
            "lineFrom");  // the satellite line; its second end is the satellite
        QTest::addColumn<QPoint>("lineTo");
        QTest::addColumn<float>("arcStart");
        QTest::addColumn<float>("arcEnd");
        QTest::addColumn<QPoint>("textAt");
        QTest::addColumn<QString>("azimuth");
        auto row = [](const char* name, const char* rotation, const QByteArray& file, QPoint from,
                      QPoint to, float start, float end, QPoint at, const char* azimuth) {
            QTest::newRow(name) << QString(rotation) << file << from << to << start << end << at
                                << QString(azimuth);
        };
        const QPoint w1(2581, 3042), w2(3459, 174), z1(2117, 2806), z2(3923, 410);
        row("worked example", "-20", kWorked, w1, w2, 1.27409f, 5.06145f, {3159, 374}, " 217");
        row("rotation 20", "20", kWorked, {1762, 2425}, {4278, 791}, 0.575958f, 4.36332f,
            {3978, 991}, " 217");
        row("rotation 0", "0", kWorked, z1, z2, 0.925024f, 4.71239f, {3623, 610}, " 217");
        row("letters only", "abc", kWorked, z1, z2, 0.925024f, 4.71239f, {3623, 610}, " 217");
        row("comma ends the number", "-20,5", kWorked, w1, w2, 1.27409f, 5.06145f, {3159, 374},
            " 217");
        row("due south", "-20", "180,45", {3533, 3018}, {2507, 198}, 1.91986f, 5.06145f,
            {2207, 398}, " 180");
        row("217.7 floors to 217.5", "-20", "217.7,1\r\n", {2569, 3039}, {3471, 177}, 1.26536f,
            5.06145f, {3171, 377}, " 217.5");
        row("217.4 floors to 217", "-20", "217.4,1\r\n", w1, w2, 1.27409f, 5.06145f, {3159, 374},
            " 217");
        row("217.5 stays", "-20", "217.5,1\r\n", {2569, 3039}, {3471, 177}, 1.26536f, 5.06145f,
            {3171, 377}, " 217.5");
        row("20.4999999 is 20.5 in single precision", "-20", "20.4999999,1", {3033, 108},
            {3007, 3108}, 4.70366f, 5.06145f, {2707, 3308}, " 20.5");
        row("extra lines and fields", "-20", "217.33,44.8,12\r\n90,45\r\n", w1, w2, 1.27409f,
            5.06145f, {3159, 374}, " 217");
        // Both angles negative and beyond a turn: passed on as they are, the canvas reduces them.
        row("rotation 1000", "1000", "217.33,1", {4043, 2705}, {1997, 511}, -16.5283f, -12.7409f,
            {1697, 711}, " 217");
    }
    void completedPresses() {
        QFETCH(QString, rotation);
        QFETCH(QByteArray, file);
        QFETCH(QPoint, lineFrom);
        QFETCH(QPoint, lineTo);
        QFETCH(float, arcStart);
        QFETCH(float, arcEnd);
        QFETCH(QPoint, textAt);
        QFETCH(QString, azimuth);
        const QList<DrawOp> ops = press(rotation, file);
        QCOMPARE(m_messages, QStringList());
        QCOMPARE(
            ops.mid(kBeforeFile),
            QList<DrawOp>({D::line(lineFrom, lineTo, kCyan), D::lineWidth(2),
                           D::arc({3020, 1608}, 400, arcStart, arcEnd), D::textPosition(textAt),
                           D::foreColor(kBlack), D::print(u"alfa="_s + azimuth)}));
    }

    // What was drawn stays, and one message says why the press stopped.
    void stoppedPresses_data() {
        QTest::addColumn<QString>("rotation");
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("drawn");  // operations of kWorkedPress drawn before the stop
        QTest::addColumn<QString>("message");
        QTest::newRow("no file") << u"-20"_s << QByteArray() << kBeforeFile
                                 << u"Нет данных о направлении на спутник"_s;
        QTest::newRow("one field") << u"-20"_s << QByteArray("217.33\r\n") << kBeforeFile
                                   << u"Нет данных о направлении на спутник"_s;
        QTest::newRow("rotation beyond single") << u"1e39"_s << kWorked << 22 << u"Угол"_s;
        QTest::newRow("azimuth beyond single")
            << u"-20"_s << QByteArray("4e38,1") << kBeforeFile << u"Азимут"_s;
        QTest::newRow("sum beyond single")
            << u"3e38"_s << QByteArray("3e38,1") << kBeforeFile << u"Азимут"_s;
    }
    void stoppedPresses() {
        QFETCH(QString, rotation);
        QFETCH(QByteArray, file);
        QFETCH(int, drawn);
        QFETCH(QString, message);
        const QList<DrawOp> ops = press(rotation, file);
        QCOMPARE(ops.size(), drawn);
        QCOMPARE(ops.last(), kWorkedPress[drawn - 1]);
        QCOMPARE(m_messages.size(), 1);
        QVERIFY2(m_messages[0].startsWith(message), qPrintable(m_messages[0]));
        if (file.isNull()) QVERIFY(m_messages[0].contains(m_dataFile));
    }

    // A pipe at the file's name stops the press after the compasses, at once, with the reason;
    // without a usable program folder the message says so and nothing is read.
    void unreadableDataFile_data() {
        QTest::addColumn<Place>("place");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("reason");
        const QString noData = u"Нет данных о направлении на спутник"_s;
        QTest::newRow("pipe") << Place::Pipe << noData << u"канал, устройство или сокет"_s;
        QTest::newRow("no usable folder") << Place::NoPath << UnusableAppDirMessage() << QString();
    }
    void unreadableDataFile() {
        QFETCH(Place, place);
        QFETCH(QString, message);
        QFETCH(QString, reason);
        const QByteArray name = QFile::encodeName(m_dataFile);
        QFile::remove(m_dataFile);
        if (place == Place::Pipe) QVERIFY(::mkfifo(name.constData(), 0600) == 0);
        FLIN1 window(place == Place::NoPath ? QString() : m_dataFile, {});
        window.findChild<QLineEdit*>(u"POZIA"_s)->setText(u"-20"_s);
        {
            PipeWatch watch(name);
            window.findChild<QPushButton*>(u"START"_s)->click();
            QVERIFY2(!watch.fired(), "the plot waited on a pipe");
        }
        QFile::remove(m_dataFile);
        QCOMPARE(window.lastPress().operations(), kWorkedPress.mid(0, kBeforeFile));
        QCOMPARE(m_messages.size(), 1);
        QVERIFY2(m_messages[0].startsWith(message) && m_messages[0].contains(reason),
                 qPrintable(m_messages[0]));
    }

    // Twips become pixels by rounding each coordinate to the nearest pixel, on a scaled screen too.
    void pixelPositions_data() {
        QTest::addColumn<QPoint>("twips");
        QTest::addColumn<QPoint>("pixel");
        QTest::addColumn<qreal>("scale");
        QTest::newRow("below half a pixel") << QPoint(22, 37) << QPoint(1, 2) << 1.0;
        QTest::newRow("above half a pixel") << QPoint(23, 38) << QPoint(2, 3) << 1.0;
        QTest::newRow("turned compass's north end")
            << QPoint(3533, 3018) << QPoint(236, 201) << 1.0;
        QTest::newRow("at twice the pixels") << QPoint(23, 38) << QPoint(4, 6) << 2.0;
    }
    void pixelPositions() {
        QFETCH(QPoint, twips);
        QFETCH(QPoint, pixel);
        QFETCH(qreal, scale);
        ImageCanvas canvas(QSize(334, 221), scale, Qt::white, Qt::red, QFont());
        QCOMPARE(canvas.image().size(), QSize(334, 221) * scale);
        canvas.point(twips);
        const QImage& image = canvas.image();
        QCOMPARE(image.pixelColor(pixel), QColor(Qt::red));
        for (const QPoint step : {QPoint(-1, 0), QPoint(0, -1)})  // only there
            QCOMPARE(image.pixelColor(pixel + step * int(scale)), QColor(Qt::white));
    }

    // Arc angles in radians anticlockwise from the right; a probe at that angle and distance
    // (pixels) from the centre finds that colour.
    void arcRule_data() {
        QTest::addColumn<double>("start");
        QTest::addColumn<double>("end");
        QTest::addColumn<double>("angle");
        QTest::addColumn<double>("distance");
        QTest::addColumn<QColor>("colour");
        const QColor red(Qt::red), white(Qt::white), black(Qt::black);
        QTest::newRow("positive: on the arc") << 0.5 << 2.0 << 1.25 << 40.0 << red;
        QTest::newRow("positive: no radius") << 0.5 << 2.0 << 0.5 << 20.0 << white;
        QTest::newRow("positive: not filled") << 0.5 << 2.0 << 1.25 << 20.0 << white;
        QTest::newRow("negative start: radius") << -0.5 << 2.0 << 0.5 << 20.0 << red;
        QTest::newRow("negative start: no end radius") << -0.5 << 2.0 << 2.0 << 20.0 << white;
        QTest::newRow("both negative: end radius") << -0.5 << -2.0 << 2.0 << 20.0 << red;
        QTest::newRow("both negative: filled black") << -0.5 << -2.0 << 1.25 << 20.0 << black;
        QTest::newRow("both negative: not outside") << -0.5 << -2.0 << 4.0 << 20.0 << white;
        QTest::newRow("beyond a turn: reduced") << -14.5664 << 0.5 << 3.14 << 40.0 << red;
        QTest::newRow("beyond a turn: start radius") << -14.5664 << 0.5 << 2.0 << 20.0 << red;
        QTest::newRow("beyond a turn: not before start")
            << -14.5664 << 0.5 << 1.25 << 40.0 << white;
    }
    void arcRule() {
        QFETCH(double, start);
        QFETCH(double, end);
        QFETCH(double, angle);
        QFETCH(double, distance);
        QFETCH(QColor, colour);
        ImageCanvas canvas(QSize(100, 100), 1, Qt::white, Qt::red, QFont());
        canvas.setFillStyle(FillStyle::Solid);
        canvas.setLineWidth(3);  // so that a probe on the arc or a radius lands on it
        canvas.arc(QPoint(750, 750), 600, start, end);
        const QPoint at(qRound(50 + distance * std::cos(angle)),
                        qRound(50 - distance * std::sin(angle)));
        QCOMPARE(canvas.image().pixelColor(at), colour);
    }

    void startTwiceSamePicture() {
        press(u"-20"_s, kWorked);
        FLIN1 window(m_dataFile, {});
        auto* start = window.findChild<QPushButton*>(u"START"_s);
        start->click();
        const QImage firstPicture = window.picture();
        start->click();
        QCOMPARE(window.lastPress().operations(), kWorkedPress);
        QCOMPARE(window.picture(), firstPicture);
        QCOMPARE(window.grab().toImage().pixelColor(201, 107), QColor(Qt::cyan));  // shown
        // A press during the yield draws the whole picture; the first press then completes over it.
        QTimer::singleShot(0, start, [start] { start->click(); });
        start->click();
        QCOMPARE(window.lastPress().operations().count(kWorkedPress.last()), 2);
        QCOMPARE(window.lastPress().operations().last(), kWorkedPress.last());
    }
};

QTEST_MAIN(TestPlot)
#include "tst_plot.moc"
