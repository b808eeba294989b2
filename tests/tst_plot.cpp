// SPDX-License-Identifier: GPL-3.0-or-later
#include <QDateTime>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "controls.h"
#include "directionplot.h"
#include "flin1.h"
#include "imagecanvas.h"
#include "layout.h"
#include "messages.h"

using namespace Qt::StringLiterals;
using D = DrawOp;
using Ops = QList<DrawOp>;

// clang-format off
Q_DECLARE_METATYPE(DrawOp)
namespace QTest {
template <> char* toString(const DrawOp& op) { return qstrdup(qPrintable(op.toString())); }
}  // namespace QTest

namespace {

const QColor kBlue(0, 0, 255), kRed(255, 0, 0), kCyan(0, 255, 255), kBlack(0, 0, 0);
const QByteArray kWorked = "217.344291652777,44.8168471212995\r\n";

// A compass: north-south, then west-east; each axis a line, a disc at each end and two words.
Ops compass(QPoint s, QPoint n, QPoint e, QPoint w) {
    return {D::line(s, n, kBlue), D::circle(s, 50), D::circle(n, 50), D::foreColor(kRed),
            D::textPosition(s), D::print(" SOUNT"), D::foreColor(kRed), D::textPosition(n),
            D::print("NORTH"), D::line(e, w, kBlue), D::circle(e, 50), D::circle(w, 50),
            D::foreColor(kRed), D::textPosition(w), D::print("  WEST"), D::foreColor(kRed),
            D::textPosition(e), D::print("EAST")};
}

// The satellite line (its second end is the satellite), the arc and the azimuth beside it.
Ops satellite(QPoint from, QPoint to, float start, float end, const char* azimuth) {
    return {D::line(from, to, kCyan), D::lineWidth(2), D::arc({3020, 1608}, 400, start, end),
            D::textPosition(to + QPoint(-300, 200)), D::foreColor(kBlack),
            D::print(u"alfa="_s + QLatin1String(azimuth))};
}

// Rotation -20 on kWorked: the fixed compass to kFixed, the turned one, the dot, then the data.
const Ops kWorkedPress = Ops{D::clear(), D::lineWidth(1), D::fillStyle(FillStyle::Solid)}
    + compass({3020, 108}, {3020, 3108}, {1520, 1608}, {4520, 1608}) + Ops{D::lineWidth(5)}
    + compass({2507, 198}, {3533, 3018}, {1610, 2121}, {4430, 1095})
    + Ops{D::foreColor(kBlue), D::lineWidth(20), D::point({3020, 1608}), D::lineWidth(8)}
    + satellite({2581, 3042}, {3459, 174}, 1.27409f, 5.06145f, " 217");
// clang-format on
constexpr int kFixed = 22, kBeforeFile = 44;

// The operations with each printed text's position where the window puts it: moved in where the
// window's edge would cut the text (the fixed compass's "  WEST", in every font at hand).
Ops placed(Ops ops) {
    const WindowLayout& layout = Flin1Layout();
    const ImageCanvas canvas(layout.clientPixels(), 1, Qt::white, Qt::black,
                             ProgramFont(layout.font));
    for (qsizetype i = 0; i < ops.size(); ++i) {
        if (ops[i].kind != D::Kind::TextPosition) continue;
        qsizetype print = i + 1;
        while (print < ops.size() && ops[print].kind != D::Kind::Print) ++print;
        if (print < ops.size())
            ops[i] = D::textPosition(canvas.textPositionInside(ops[i].at, ops[print].text));
    }
    return ops;
}

}  // namespace

class TestPlot : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_dataFile = m_dir.filePath(u"rlin1.txt"_s);
    QString m_otherFile = m_dir.filePath(u"rlin1-other.txt"_s);
    QStringList m_messages;

    // A data file (null: none), no messages; newer 1 or -1: one elsewhere a minute after or before.
    void prepare(const QByteArray& content, int newer = 0) {
        Messages::setHandler([this](QWidget*, const QString& text) { m_messages << text; });
        m_messages.clear();
        QFile::remove(m_dataFile);
        QFile::remove(m_otherFile);
        QFile file(m_dataFile), other(m_otherFile);
        if (!content.isNull()) QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content));
        if (newer) {
            QVERIFY(other.open(QIODevice::WriteOnly) && other.write("180,1\r\n") && other.flush());
            QVERIFY(other.setFileTime(QDateTime::currentDateTime().addSecs(60 * newer),
                                      QFileDevice::FileModificationTime));
        }
    }

private slots:
    // The fixed compass whatever the rotation; `drawn` operations ending in `last`; one message.
    void presses_data() {
        QTest::addColumn<QString>("rotation");
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("drawn");
        QTest::addColumn<Ops>("last");
        QTest::addColumn<QStringList>("says");
        QTest::addColumn<int>("newer");  // see prepare
        const Ops worked = kWorkedPress.mid(kBeforeFile), noFile{kWorkedPress[kBeforeFile - 1]};
        const QStringList noData = {u"Нет данных о направлении на спутник"_s, m_dataFile};
        const QStringList newer = {u"Более новый файл направления"_s, m_otherFile};
        auto row = [](const char* name, const char* rotation, const QByteArray& file, int drawn,
                      const Ops& last, const QStringList& says = {}, int newer = 0) {
            QTest::newRow(name) << QString(rotation) << file << drawn << last << says << newer;
        };
        row("blanks are 0", "  ", kWorked, 50,
            satellite({2117, 2806}, {3923, 410}, 0.925024f, 4.71239f, " 217"));
        // A rotation that is only partly a number: nothing drawn.
        const QString rotationBox = u"«сдвиг осей на угол, градусы»"_s;
        row("decimal comma", "-20,5", kWorked, 0, {}, {rotationBox, u"«-20,5»"_s, u"как -20,"_s});
        row("letters", "abc", kWorked, 0, {}, {rotationBox, u"«abc»"_s, u"как 0."_s});
        row("217.7 floors to 217.5", "-20", "217.7,1", 50,
            satellite({2569, 3039}, {3471, 177}, 1.26536f, 5.06145f, " 217.5"));
        row("20.4999999 is 20.5 in single precision", "-20", "20.4999999,1", 50,
            satellite({3033, 108}, {3007, 3108}, 4.70366f, 5.06145f, " 20.5"));
        row("no file", "-20", QByteArray(), kBeforeFile, noFile, noData);
        row("one field", "-20", "217.33", kBeforeFile, noFile, noData);
        row("rotation too large", "1e39", kWorked, 0, {}, {rotationBox, u"«1e39»"_s});
        row("two numbers", "20 5", kWorked, 0, {}, {rotationBox, u"«20 5»"_s, u"205"_s});
        // Quoted on one line, cut to 40 characters.
        row("line break", "-20\r5", kWorked, 0, {}, {rotationBox, u"«-20 5»"_s});
        row("300 digits", QByteArray(300, '9').constData(), kWorked, 0, {},
            {rotationBox, u'«' + QString(40, u'9') + u"…»"_s});
        row("azimuth too large", "-20", "4e38,1", kBeforeFile, noFile, {u"Азимут"_s, m_dataFile});
        row("their sum too large", "3e38", "3e38,1", kBeforeFile, noFile, {u"Азимут"_s});
        // A damaged file: named with what is wrong, no satellite line (issue 20).
        const QString damaged = u"повреждён"_s;
        row("letters", "-20", "abc,def", kBeforeFile, noFile, {damaged, m_dataFile, u"«abc»"_s});
        row("hemisphere letter", "-20", "26S,10", kBeforeFile, noFile, {damaged, u"«26S»"_s});
        row("decimal commas", "-20", "217,3;44,8\r\n", kBeforeFile, noFile, {damaged, u"«3;44»"_s});
        row("byte order mark", "-20", "\xef\xbb\xbf" + kWorked, kBeforeFile, noFile,
            {damaged, u"BOM"_s});
        row("UTF-16", "-20", QByteArray("2\0\x31\0\x37\0,\0\x34\0\x34\0", 12), kBeforeFile, noFile,
            {damaged, u"UTF-16"_s});
        row("binary", "-20", QByteArray("\x89PNG\r\n\x1a\n", 8), kBeforeFile, noFile, {damaged});
        row("blank first line", "-20", "\r\n217.3,44.8\r\n", kBeforeFile, noFile,
            {damaged, u"пусто"_s});
        row("satellite below the horizon", "-20", "190.007333672189,-60.9874190356446\r\n", 50,
            satellite({3280, 3085}, {2760, 131}, 1.74533f, 5.06145f, " 190"),
            {u"Спутник 1 с этого места ниже горизонта (угол места -61.0°)"_s});
        row("newer file elsewhere", "-20", kWorked, 50, worked, newer, 1);
        row("older file elsewhere", "-20", kWorked, 50, worked, {}, -1);
        row("only a file elsewhere", "-20", QByteArray(), kBeforeFile, noFile, noData + newer, 1);
    }
    void presses() {
        QFETCH(QString, rotation);
        QFETCH(QByteArray, file);
        QFETCH(int, drawn);
        QFETCH(Ops, last);
        QFETCH(QStringList, says);
        QFETCH(int, newer);
        prepare(file, newer);
        FLIN1 window({m_dataFile, QString(), m_otherFile, QString()}, {});
        auto* box = window.findChild<QLineEdit*>(u"POZIA"_s);
        box->setText(rotation);
        window.findChild<QPushButton*>(u"START"_s)->click();
        const Ops ops = window.lastPress().operations();
        QCOMPARE(ops.size(), drawn);
        QCOMPARE(ops.mid(0, kFixed), placed(kWorkedPress.mid(0, std::min(drawn, kFixed))));
        QCOMPARE(ops.mid(drawn - last.size()), placed(last));
        QCOMPARE(m_messages.size(), says.isEmpty() ? 0 : 1);
        for (const QString& s : says) QVERIFY2(m_messages.value(0).contains(s), qPrintable(s));
        if (drawn == 0)  // the box to put right has the focus, its text selected
            QVERIFY(window.focusWidget() == box && box->selectedText() == rotation);
    }

    // The least shift into a 100 x 50 area, in whole pixels; none for a rectangle inside.
    void shiftInside_data() {
        QTest::addColumn<QRect>("rectangle");
        QTest::addColumn<QPoint>("shift");
        QTest::newRow("inside, touching every edge") << QRect(0, 0, 100, 50) << QPoint(0, 0);
        QTest::newRow("past the right edge") << QRect(90, 10, 20, 10) << QPoint(-10, 0);
        QTest::newRow("past the bottom edge") << QRect(10, 45, 20, 10) << QPoint(0, -5);
        QTest::newRow("past the left and top") << QRect(-3, -4, 20, 10) << QPoint(3, 4);
        QTest::newRow("wider than the area") << QRect(5, 0, 120, 10) << QPoint(-5, 0);
    }
    void shiftInside() {
        QFETCH(QRect, rectangle);
        QFETCH(QPoint, shift);
        QCOMPARE(ShiftInside(rectangle, QSize(100, 50)), shift);
    }

    // Near north the alfa= line would hang below the window: it moves up, just enough, and only
    // up (Johannesburg's satellite 1 at 17.55, rotation -20 and 0).
    void alfaInside_data() {
        QTest::addColumn<QString>("rotation");
        for (const char* rotation : {"-20", "0"}) QTest::newRow(rotation) << QString(rotation);
    }
    void alfaInside() {
        QFETCH(QString, rotation);
        prepare("17.55,58.1\r\n");
        FLIN1 window({m_dataFile, QString(), QString(), QString()}, {});
        window.findChild<QLineEdit*>(u"POZIA"_s)->setText(rotation);
        window.findChild<QPushButton*>(u"START"_s)->click();
        const Ops ops = window.lastPress().operations();
        QCOMPARE(ops.last(), D::print(u"alfa= 17.5"_s));
        const AxisEnds line = PlotAxis(17.5f + rotation.toFloat());
        QCOMPARE(ops[ops.size() - 6], D::line(line.first, line.second, kCyan));
        const QPoint at = ops[ops.size() - 3].at, meant = line.second + QPoint(-300, 200);
        QCOMPARE(at.x(), meant.x());
        QVERIFY2(at.y() < meant.y() && (meant.y() - at.y()) % 15 == 0,
                 qPrintable(QString::number(at.y())));
        // Moved no further than its line's height needs to end at the bottom edge.
        const QFontMetrics metrics(ProgramFont(Flin1Layout().font), &window.picture());
        QVERIFY((at.y() + 7) / 15 + metrics.height() >= window.picture().height());
    }

    // One operation on a canvas of twice the pixels: twips round, arcs anticlockwise in radians.
    void image_data() {
        QTest::addColumn<DrawOp>("op");
        QTest::addColumn<QPoint>("probe");
        QTest::addColumn<Qt::GlobalColor>("colour");
        auto arc = [](float start, float end) { return D::arc({750, 750}, 600, start, end); };
        // clang-format off
        auto at = [](double a, double r) {  // the pixel at angle a and distance r from the centre
            return QPoint(qRound(50 + r * std::cos(a)), qRound(50 - r * std::sin(a))); };
        QTest::newRow("rounded") << D::point({23, 37}) << QPoint(2, 2) << Qt::red;  // 1.53, 2.47 px
        QTest::newRow("arc") << arc(0.5, 2) << at(1.25, 40) << Qt::red;
        QTest::newRow("positive: not filled") << arc(0.5, 2) << at(1.25, 34) << Qt::white;
        QTest::newRow("negative: radius") << arc(-0.5, 2) << at(0.5, 20) << Qt::red;
        QTest::newRow("both negative: filled") << arc(-0.5, -2) << at(1.25, 20) << Qt::black;
        // -14.5664 is 2 after two whole turns.
        QTest::newRow("beyond a turn: reduced") << arc(-14.5664f, 0.5) << at(3.14, 40) << Qt::red;
        QTest::newRow("beyond a turn: from 2") << arc(-14.5664f, 0.5) << at(1.25, 40) << Qt::white;
        // clang-format on
    }
    void image() {
        QFETCH(DrawOp, op);
        QFETCH(QPoint, probe);
        QFETCH(Qt::GlobalColor, colour);
        ImageCanvas canvas(QSize(100, 100), 2, Qt::white, Qt::red, QFont());
        QCOMPARE(canvas.image().size(), QSize(200, 200));
        canvas.setFillStyle(FillStyle::Solid);
        canvas.setLineWidth(op.kind == D::Kind::Arc ? 3 : 1);  // 3: a probe lands on an arc
        op.kind == D::Kind::Arc ? canvas.arc(op.at, op.number, op.start, op.end)
                                : canvas.point(op.at);
        QCOMPARE(canvas.image().pixelColor(probe * 2), QColor(colour));
    }

    // On a caller's painter (the sheet's compass) a word well inside the drawing stays put, and one
    // past its right edge moves in, as on the window's image.
    void textInsideOnPainter() {
        QImage page(400, 400, QImage::Format_RGB32);
        QPainter painter(&page);
        ImageCanvas canvas(painter, QSize(100, 100), Qt::white, Qt::black, QFont());
        QCOMPARE(canvas.textPositionInside({300, 300}, u"WEST"_s), QPoint(300, 300));
        QVERIFY(canvas.textPositionInside({1400, 300}, u"WEST"_s).x() < 1400);
    }

    // Words hang from their text position, as from their top-left corner: none reaches above it.
    void wordBelowPosition() {
        const QFont font;
        ImageCanvas canvas(QSize(100, 100), 1, Qt::white, Qt::black, font);
        canvas.setTextPosition({750, 750});
        canvas.print(u"SOUNT"_s);
        int top = 100, bottom = -1;
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 100; ++x)
                if (canvas.image().pixelColor(x, y) != Qt::white) top = qMin(top, y), bottom = y;
        const int height = QFontMetrics(font, &canvas.image()).height();
        QVERIFY2(top >= 50 && bottom >= 50 && bottom < 50 + height,
                 qPrintable(u"ink from row %1 to %2"_s.arg(top).arg(bottom)));
    }

    // Shown, on the window's own background; pressed in its yield: a whole picture, then the rest.
    void pressAgain() {
        prepare(kWorked);
        FLIN1 window({m_dataFile, QString(), QString(), QString()}, {});
        auto* start = window.findChild<QPushButton*>(u"START"_s);
        start->click();
        QCOMPARE(window.grab().toImage().pixelColor(201, 107), QColor(Qt::cyan));
        const QPalette palette = window.palette();  // not an input box's
        QVERIFY(palette.color(QPalette::Window) != palette.color(QPalette::Base));
        QCOMPARE(window.picture().pixelColor(330, 218), palette.color(QPalette::Window));
        QTimer::singleShot(0, start, [start] { start->click(); });
        start->click();
        QCOMPARE(window.lastPress().operations(), placed(kWorkedPress + kWorkedPress.mid(40)));
    }
};

QTEST_MAIN(TestPlot)
#include "tst_plot.moc"
