#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "appdir.h"
#include "datafile.h"
#include "flin1.h"
#include "messages.h"

const char* const kWorked = "217.344291652777,44.8168471212995\r\n";

// A press with rotation -20 on kWorked, one operation a field: 45 up to the reading of the file.
const QStringList kWorkedOps = QString(R"(clear|mode copy|width 1|fill solid
line 3020,108 3020,3108 0,0,255|circle 3020,108 50|circle 3020,3108 50|fore 255,0,0|at 3020,108
print " SOUNT"|fore 255,0,0|at 3020,3108|print "NORTH"|line 1520,1608 4520,1608 0,0,255
circle 1520,1608 50|circle 4520,1608 50|fore 255,0,0|at 4520,1608|print "  WEST"|fore 255,0,0
at 1520,1608|print "EAST"|width 5|line 2507,198 3533,3018 0,0,255|circle 2507,198 50
circle 3533,3018 50|fore 255,0,0|at 2507,198|print " SOUNT"|fore 255,0,0|at 3533,3018|print "NORTH"
line 1610,2121 4430,1095 0,0,255|circle 1610,2121 50|circle 4430,1095 50|fore 255,0,0|at 4430,1095
print "  WEST"|fore 255,0,0|at 1610,2121|print "EAST"|fore 0,0,255|width 20|point 3020,1608|width 8
line 2581,3042 3459,174 0,255,255|width 2|arc 3020,1608 400 1.27409 5.06145|at 3159,374|fore 0,0,0
print "alfa= 217")")
                                   .replace('\n', '|')
                                   .split('|');

class TestPlot : public QObject {
    Q_OBJECT
    QStringList m_messages;

    static void writeDataFile(const QByteArray& content) {
        QFile file(DataFilePath(AppDir()));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
    }

private slots:
    void init() {
        m_messages.clear();
        Messages::setHandler([this](QWidget*, const QString& text) { m_messages << text; });
        QFile::remove(DataFilePath(AppDir()));
    }

    void presses_data() {
        QTest::addColumn<QString>("rotation");
        QTest::addColumn<QString>("file");  // null: no file
        // Completed: satellite line ends|arc angles|text position|angle; stopped: drawn|message.
        QTest::addColumn<QString>("expected");
        auto row = [](const char* name, const char* rot, const char* file, const QString& e) {
            QTest::newRow(name) << rot << (file ? QString(file) : QString()) << e;
        };
        const QString worked = "2581,3042 3459,174|1.27409 5.06145|3159,374|217";
        const QString zero = "2117,2806 3923,410|0.925024 4.71239|3623,610|217";
        const QString half = "2569,3039 3471,177|1.26536 5.06145|3171,377|217.5";
        const QString noData = "45|направлении на спутник: файл " + DataFilePath(AppDir());
        row("rotation 20", "20", kWorked, "1762,2425 4278,791|0.575958 4.36332|3978,991|217");
        row("rotation 0", "0", kWorked, zero);
        row("letters only", "abc", kWorked, zero);
        row("comma ends the number", "-20,5", kWorked, worked);
        row("due south", "-20", "180,45", "3533,3018 2507,198|1.91986 5.06145|2207,398|180");
        row("217.7", "-20", "217.7,1\r\n", half);
        row("217.4", "-20", "217.4,1\r\n", worked);
        row("217.5", "-20", "217.5,1\r\n", half);
        row("20.4999999", "-20", "20.4999999,1",
            "3033,108 3007,3108|4.70366 5.06145|2707,3308|20.5");
        row("extra lines and fields", "-20", "217.33,44.8,12\r\n90,45\r\n", worked);
        // Both angles negative and beyond a turn: passed on as they are, the canvas reduces them.
        row("1000", "1000", "217.33,1", "4043,2705 1997,511|-16.5283 -12.7409|1697,711|217");
        row("no file", "-20", nullptr, noData);
        row("one field", "-20", "217.33\r\n", noData);
        row("rotation beyond single", "1e39", kWorked, "23|Угол");
        row("azimuth beyond single", "-20", "4e38,1", "45|Азимут");
        row("sum beyond single", "3e38", "3e38,1", "45|Азимут");
    }

    void presses() {
        QFETCH(QString, rotation);
        QFETCH(QString, file);
        QFETCH(QString, expected);
        if (!file.isNull()) writeDataFile(file.toLatin1());
        FLIN1 window({});
        window.findChild<QLineEdit*>("POZIA")->setText(rotation);
        window.findChild<QPushButton*>("START")->click();
        const QStringList k = expected.split('|');
        if (k.size() == 2) {  // stopped: what was drawn stays, and one message explains why
            QCOMPARE(window.lastOperations().mid(k[0].toInt() - 1),
                     kWorkedOps.mid(k[0].toInt() - 1, 1));
            QVERIFY(m_messages.size() == 1 && m_messages[0].contains(k[1]));
            return;
        }
        QVERIFY(m_messages.isEmpty());
        QCOMPARE(window.lastOperations().mid(45),
                 QStringList({"line " + k[0] + " 0,255,255", "width 2", "arc 3020,1608 400 " + k[1],
                              "at " + k[2], "fore 0,0,0", "print \"alfa= " + k[3] + "\""}));
    }

    // "start end", then probes "colour angle distance": the colour that far (pixels) at that angle.
    void arcRule_data() {
        QTest::addColumn<QString>("arc");
        QTest::newRow("positive: arc only") << "0.5 2 red 1.25 40 white 0.5 20 white 2 20";
        QTest::newRow("negative start: radius") << "-0.5 2 red 0.5 20 white 1.25 20";
        QTest::newRow("both negative: filled sector")
            << "-0.5 -2 red 1.25 40 red 0.5 20 red 2 20 black 1.25 20 white 4 20";
        QTest::newRow("beyond a turn, start after end")
            << "-14.5664 0.5 red 2 20 red 3.14 40 white 1.25 40 white 0.5 20";
    }

    void arcRule() {
        QFETCH(QString, arc);
        const QStringList p = arc.split(' ');
        ImageCanvas canvas(QSize(100, 100), Qt::white, Qt::red, QFont());
        canvas.setFillStyle(FillStyle::Solid);
        canvas.setLineWidth(3);  // so that a probe on the arc or a radius lands on it
        canvas.arc(QPoint(750, 750), 600, p[0].toDouble(), p[1].toDouble());
        for (int i = 2; i < p.size(); i += 3) {
            const double a = p[i + 1].toDouble(), r = p[i + 2].toDouble();
            const QPoint at(qRound(50 + r * std::cos(a)), qRound(50 - r * std::sin(a)));
            QVERIFY2(canvas.image().pixelColor(at) == QColor(p[i]),
                     qPrintable(p.mid(i, 3).join(' ')));
        }
    }

    void startTwiceSamePicture() {
        writeDataFile(kWorked);
        FLIN1 window({});
        auto* start = window.findChild<QPushButton*>("START");
        start->click();
        const QImage firstPicture = window.picture();
        start->click();
        QCOMPARE(window.lastOperations(), kWorkedOps);
        QCOMPARE(window.picture(), firstPicture);
        QCOMPARE(window.grab().toImage().pixelColor(201, 107), QColor(Qt::cyan));  // shown
        // A press during the yield draws the whole picture; the first press then completes over it.
        QTimer::singleShot(0, start, [start] { start->click(); });
        start->click();
        QCOMPARE(window.lastOperations().count(kWorkedOps.last()), 2);
        QCOMPARE(window.lastOperations().last(), kWorkedOps.last());
    }
};

QTEST_MAIN(TestPlot)
#include "tst_plot.moc"
