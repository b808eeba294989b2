#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "appdir.h"
#include "datafile.h"
#include "flin1.h"
#include "fris123.h"
#include "messages.h"
#include "torvel.h"

namespace {

// Every control: the control Tab moves on to, its rectangle in twips (a line: end points, and width
// in pixels for the point size), its font, its caption or default text; boxes side by side paired.
// clang-format off
struct Control { const char *name, *next; int left, top, width, height; double pointSize; bool bold; const char* text; };
const Control kLayout[] = {
    {"T1", "", 1680, 240, 3615, 255, 12, true, "     РАССЧЕТ МУЛЬТИФИДА"},
    {"T2", "", 1680, 600, 3615, 255, 8.25, true, "     ПО КООРДИНАТАМ СПУТНИКОВ"},
    {"Gprog", "RISYNOK", 720, 120, 855, 375, 8.25, false, "START"},
    {"RISYNOK", "cmdExit", 720, 720, 855, 375, 8.25, false, "Рисунок"},
    {"cmdExit", "NAPR", 5400, 360, 615, 495, 8.25, false, "EXIT"},
    {"NAPR", "Text9", 480, 4440, 1395, 315, 8.25, false, "НАПРАВЛЕНИЕ"},
    {"T3", "", 240, 1320, 2055, 735, 9.75, false, " Ваши  координаты           места  (пример: г.Тверия ИЗРАИЛЬ)"},
    {"Label1", "", 2400, 1080, 3735, 255, 8.25, false, " долгота(градусы)            долгота(минуты)"},
    {"Text1", "Text2", 2640, 1320, 855, 285, 8.25, false, "35"}, {"Text2", "Text3", 4440, 1320, 975, 285, 8.25, false, "27.69"},
    {"T4", "", 2280, 1560, 3495, 255, 8.25, false, "   широта(градусы)              широта(минуты)"},
    {"Text3", "Text4", 2640, 1800, 855, 285, 8.25, false, "32"}, {"Text4", "Text5", 4440, 1800, 975, 285, 8.25, false, "48.5"},
    {"Label6", "", 360, 2280, 3495, 255, 8.25, true, "ФОКУСНОЕ РАССТОЯНИЕ АНТЕНЫ"},
    {"Text13", "Text14", 4440, 2280, 975, 285, 8.25, true, ""},
    {"T5", "", 240, 2640, 1815, 735, 9.75, false, "     Координаты            TV-спутника  (1)     установленного"},
    {"T6", "", 2400, 2760, 3615, 255, 8.25, false, " долгота(градусы)             долгота(минуты)"},
    {"Text5", "Text6", 2640, 3000, 855, 285, 8.25, false, ""}, {"Text6", "Text7", 4440, 3000, 975, 285, 8.25, false, ""},
    {"Label2", "", 240, 3480, 2175, 735, 9.75, true, "     Координаты            TV-спутника (2)  устанавливаемого"},
    {"Label3", "", 2400, 3480, 3375, 375, 8.25, false, "долгота(градусы)              долгота(минуты)"},
    {"Text9", "Text10", 2640, 3720, 855, 285, 8.25, false, ""}, {"Text10", "Text11", 4440, 3720, 975, 285, 8.25, false, ""},
    {"T7", "", 2040, 4440, 2175, 375, 12, true, "      РЕЗУЛЬТАТ"},
    {"T8", "", 240, 4920, 1695, 255, 8.25, false, "1)  BETA-угол  места"},
    {"Text7", "Text8", 1920, 4800, 1215, 360, 9.75, true, ""}, {"Text8", "Gprog", 4800, 4800, 1215, 330, 9.75, true, ""},
    {"T9", "", 3240, 4920, 1575, 375, 8.25, false, "    1) ALFA-азимут"},
    {"Label4", "", 240, 5400, 1695, 375, 8.25, false, "2)  BETA-угол места"},
    {"Text11", "Text12", 1920, 5280, 1215, 375, 9.75, true, ""}, {"Text12", "Text13", 4800, 5280, 1215, 375, 9.75, true, ""},
    {"Label5", "", 3240, 5400, 1575, 375, 8.25, false, "     2)  ALFA-азимут"},
    {"Label7", "", 240, 5760, 6255, 255, 8.25, true, "СДВИГ УГЛА ВОЗВЫШЕНИЯ        РАССТОЯНИЕ МЕЖДУ ЦЕНТРАМИ "},
    {"Text14", "Text15", 480, 6120, 2175, 375, 8.25, true, ""},
    {"Text16", "Text1", 2760, 6120, 855, 375, 9.75, true, ""}, {"Text15", "Text16", 3720, 6120, 2295, 375, 8.25, true, ""},
    {"Label8", "", 2280, 6600, 1815, 255, 8.25, true, " УГОЛ ПОВОРОТА"},
    {"Image3", "", 1200, 6600, 675, 450, 9.75, true, ""}, {"Image2", "", 4440, 6600, 675, 450, 9.75, true, ""},
    {"Line1", "", 1800, 960, 5160, 960, 1, false, ""}, {"Line2", "", 1800, 120, 5160, 120, 1, false, ""},
    {"Line3", "", 1800, 960, 1800, 120, 1, false, ""}, {"Line4", "", 5160, 120, 5160, 960, 1, false, ""},
    {"Line5", "", 240, 4320, 6360, 4320, 5, false, ""}, {"Line6", "", 2280, 2040, 2280, 1200, 1, false, ""},
    {"Line7", "", 480, 5760, 6360, 5760, 1, false, ""},
};

const QStringList kOutputs = {"Text7", "Text8", "Text11", "Text12", "Text14", "Text15", "Text16"};
const QByteArray kOldFile = "200,30\r\n", kWorkedLine = "217.344291652777,44.8168471212995\r\n";
const QString kWorked = "Text5=13|Text9=19|Text10=12|Text13=450", kFault = "Расчёт остановлен";
const QString kWorkedOutputs = "Text8= 217.344291652777|Text16= + 23.5|Text12= 208.2955|Text14= 24.9487мм-->НИЖЕ|"
                               "Text7= 44.8168471212995|Text15= 70.7734мм-->СПРАВА|Text11= 47.99485";

const QString kSiteLongitude = kWorkedOutputs + "|Text16= 0|Text12= 180|Text11= 51.84218|Text14= 55.0408мм-->НИЖЕ|"
                                "Text15= 272.971мм-->СПРАВА";

// One START: "Box=text" pairs typed (text beyond ASCII pasted), then result boxes that change (others
// stay empty), '|' between pairs; part of the one message ("<file>": the file's path); the file
// ("<folder>": a folder there).
struct Run { const char* name; char separator; QString typed, expected, message; QByteArray file; };
const Run kRuns[] = {
    {"worked example", '.', kWorked, kWorkedOutputs, "", kWorkedLine},
    {"file cannot be replaced", '.', kWorked, kWorkedOutputs, "<file>\n", "<folder>"},
    {"nothing typed", '.', "", "", "НЕТ КООРДИНАТ (1) ", kOldFile},
    {"satellite 2 missing", '.', "Text5=13", "", "НЕТ КООРДИНАТ (2)", kOldFile},
    {"focal length missing", '.', "Text5=13|Text9=19", "", "НЕТ ФОКУСА АНТЕНЫ", kOldFile},
    {"latitude 0", '.', kWorked + "|Text3=0|Text4=0", "", kFault, kOldFile},
    // Stops after the first output: it keeps its new text, the later ones their old texts.
    {"satellite 2 degrees 1e400", ',', kWorked + "|Text9=1e400", "Text8= 217.344291652777", kFault, kOldFile},
    {"satellite 2 equal to satellite 1", '.', kWorked + "|Text9=13|Text10=", kWorkedOutputs + "|Text16= + 30.7|"
     "Text12= 217.3443|Text11= 44.81685|Text14= 0мм-->ВЫШЕ|Text15= 0мм-->СПРАВА", "", kWorkedLine},
    {"satellite 2 at the site's longitude", ',', kWorked + "|Text9=35|Text10=27.69", kSiteLongitude, "", kWorkedLine},
    // Pasted from a phone: the same result as typing "35".
    {"satellite 2 pasted in Arabic-Indic digits", ',', kWorked + "|Text9=٣٥|Text10=27.69", kSiteLongitude, "", kWorkedLine},
    {"satellite 2 pasted after a right-to-left mark", ',', kWorked + "|Text9=\u200f35|Text10=27.69", kSiteLongitude, "", kWorkedLine},
};

// Keys typed into a box; the EditState after.
struct Edit { const char *name, *box, *keys; int state; };
const Edit kEdits[] = {{"typing in Text6", "Text6", "5", 0}, {"typing in Text5", "Text5", "1", 1}, {"typing in Text7", "Text7", "4", 2}};
// clang-format on

template <typename Row, size_t N>
void addRows(const Row (&rows)[N]) {
    QTest::addColumn<int>("row");
    for (size_t i = 0; i < N; ++i) QTest::newRow(rows[i].name) << int(i);
}

void click(QWidget* window, const char* button) {
    QTest::mouseClick(window->findChild<QPushButton*>(button), Qt::LeftButton);
}

// Whether the viewer shows that picture from the program directory (none: empty).
bool showing(FRIS123* viewer, const char* file = "") {
    const QImage shown = viewer->findChild<QLabel*>("Picture1")->pixmap().toImage();
    return shown == QImage(file[0] ? AppFilePath(AppDir(), file) : QString());
}

}  // namespace

class TestTorvel : public QObject {
    Q_OBJECT
    TORVEL* m_window = nullptr;
    QStringList m_messages;
    const QString m_dataFile = QDir::toNativeSeparators(DataFilePath(AppDir()));  // as shown

    QLineEdit* box(const QString& name) const { return m_window->findChild<QLineEdit*>(name); }
    void type(const QString& pair) {
        QLineEdit* target = box(pair.section('=', 0, 0));
        const QString text = pair.section('=', 1);
        QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier);
        if (text.toLatin1() == text.toUtf8()) return QTest::keyClicks(target, "\b" + text);
        QGuiApplication::clipboard()->setText(text);  // keys carry no other text: pasted
        QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier);
    }

private slots:
    void init() {
        Messages::setHandler([this](QWidget*, const QString& text) { m_messages << text; });
        m_messages.clear();
        QVERIFY(WriteDataFile(m_dataFile, 200, 30, nullptr));
        (m_window = new TORVEL)->show();
        QVERIFY(QTest::qWaitForWindowActive(m_window));
    }
    void cleanup() {
        delete m_window;
        QDir().rmdir(m_dataFile);
    }

    void layout_data() { addRows(kLayout); }
    void layout() {
        QFETCH(int, row);
        const Control& c = kLayout[row];
        QWidget* control = m_window->findChild<QWidget*>(c.name);
        QVERIFY(control && control->parentWidget() == m_window);
        const QRect rect = control->geometry();
        if (QByteArray(c.name).startsWith("Line")) {
            const QRect ends = QRect(QPoint(c.left, c.top) / 15, QPoint(c.width, c.height) / 15);
            QVERIFY(rect.contains(ends.normalized()) &&
                    qMin(rect.width(), rect.height()) == c.pointSize);
            return;
        }
        QCOMPARE(rect, QRect(c.left / 15, c.top / 15, c.width / 15, c.height / 15));
        QCOMPARE(control->property("text").toString(), QString::fromUtf8(c.text));
        QCOMPARE(control->font().pointSizeF(), c.pointSize);
        QCOMPARE(control->font().bold(), c.bold);
        if (!*c.next) return;
        control->setFocus();
        QTest::keyClick(control, Qt::Key_Tab);
        QCOMPARE(m_window->focusWidget()->objectName(), c.next);
    }

    void runs_data() { addRows(kRuns); }
    void runs() {
        QFETCH(int, row);
        const Run& r = kRuns[row];
        if (r.file == "<folder>") QVERIFY(QFile::remove(m_dataFile) && QDir().mkdir(m_dataFile));
        m_window->setDecimalSeparator(r.separator);
        for (const QString& pair : r.typed.split('|', Qt::SkipEmptyParts)) type(pair);
        click(m_window, "Gprog");
        const QString message = QString(r.message).replace("<file>", m_dataFile);
        QVERIFY2(m_messages.size() == !message.isEmpty() && m_messages.join("").contains(message),
                 qPrintable(m_messages.join('\n')));

        QMap<QString, QString> want;  // later pairs replace earlier ones
        for (const auto& p : r.expected.split('|')) want[p.section('=', 0, 0)] = p.section('=', 1);
        for (const QString& name : kOutputs)
            QCOMPARE(name + "=" + box(name)->text(), name + "=" + want.value(name));
        QFile file(m_dataFile);
        QCOMPARE(file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<folder>"), r.file);
        if (r.file != kWorkedLine) return;
        // The plot opened from here draws satellite 1's direction from the file just written.
        click(m_window, "NAPR");
        FLIN1* plot = m_window->plotWindow();
        click(plot, "START");
        QVERIFY(plot->lastOperations().contains("line 2581,3042 3459,174 0,255,255"));
        QVERIFY(QTest::qWaitForWindowActive(plot));
        click(plot, "CMDEXIT");  // brings the main window forward, the plot stays open
        QVERIFY(QTest::qWaitForWindowActive(m_window) && plot->isVisible());
    }

    // Only a state other than 0 lets the buttons open their windows.
    void editState_data() { addRows(kEdits); }
    void editState() {
        QFETCH(int, row);
        const Edit& e = kEdits[row];
        QTest::keyClicks(box(e.box), e.keys);
        QCOMPARE(m_window->editState(), e.state);
        delete m_window->viewerWindow();
        click(m_window, "RISYNOK");
        QCOMPARE(m_window->viewerWindow() && m_window->viewerWindow()->isVisible(), e.state != 0);
        click(m_window, "NAPR");
        QCOMPARE(m_window->plotWindow()->isVisible(), e.state != 0);
    }

    // The viewer loads first and shows itself, empty, behind the main window. "Рисунок" on an open
    // viewer keeps its place in the picture cycle; after "ВЫХОД" it loads the viewer afresh.
    void startUpAndViewer() {
        QCOMPARE(m_window->windowTitle(), "RASCHET");
        QCOMPARE(m_window->size(), QSize(445, 462));
        QCOMPARE(m_window->focusWidget(), box("Text1"));
        QVERIFY(m_window->viewerWindow()->isVisible() && showing(m_window->viewerWindow()));
        type("Text5=13");
        click(m_window->viewerWindow(), "RISYNOK");
        click(m_window, "RISYNOK");
        click(m_window->viewerWindow(), "RISYNOK");
        QVERIFY(showing(m_window->viewerWindow(), "1k.BMP"));
        click(m_window->viewerWindow(), "cmd1");
        QTRY_VERIFY(!m_window->viewerWindow());
        click(m_window, "RISYNOK");
        click(m_window->viewerWindow(), "RISYNOK");
        QVERIFY(showing(m_window->viewerWindow(), "GDS001.BMP"));
    }
};

QTEST_MAIN(TestTorvel)
#include "tst_torvel.moc"
