#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QTest>
#include <QTimer>

#include "appdir.h"
#include "datafile.h"
#include "flin1.h"
#include "fris123.h"
#include "messages.h"
#include "torvel.h"

namespace {

const QStringList kOutputs = {"Text7", "Text8", "Text11", "Text12", "Text14", "Text15", "Text16"};
const QByteArray kOldFile = "200,30\r\n";
const QByteArray kWorkedLine = "217.344291652777,44.8168471212995\r\n";

// The worked example's texts: site defaults, satellite 1 at 13, satellite 2 at 19 12', F 450.
const QStringList kWorkedInputs = {"Text5=13", "Text9=19", "Text10=12", "Text13=450"};
const QStringList kWorkedOutputs = {"Text8= 217.344291652777",
                                    "Text16= + 23.5",
                                    "Text12= 208.2955",
                                    "Text14= 24.9487мм-->НИЖЕ",
                                    "Text15= 70.7734мм-->СПРАВА",
                                    "Text7= 44.8168471212995",
                                    "Text11= 47.99485"};

// "Box=text" pairs, later pairs replacing earlier ones.
QMap<QString, QString> pairs(const QStringList& list) {
    QMap<QString, QString> map;
    for (const QString& pair : list) {
        const qsizetype eq = pair.indexOf('=');
        map.insert(pair.left(eq), pair.mid(eq + 1));
    }
    return map;
}

QByteArray fileContent(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

}  // namespace

class TestTorvel : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void layout_data();
    void layout();
    void linesAndLegends();
    void boxesAndWindow();
    void focusOrder();
    void runs_data();
    void runs();
    void editState_data();
    void editState();
    void exit_data();
    void exit();

private:
    QLineEdit* box(const QString& name) const { return m_window->findChild<QLineEdit*>(name); }
    void click(const char* name) {
        QTest::mouseClick(m_window->findChild<QPushButton*>(name), Qt::LeftButton);
    }
    // Replaces a box's text by key presses: select all, then type or delete.
    void type(const QString& name, const QString& text) {
        QLineEdit* edit = box(name);
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        if (text.isEmpty())
            QTest::keyClick(edit, Qt::Key_Backspace);
        else
            QTest::keyClicks(edit, text);
        QCOMPARE(edit->text(), text);
    }

    TORVEL* m_window = nullptr;
    QStringList m_messages;
    QString m_dataFile;
};

void TestTorvel::initTestCase() {
    Messages::setHandler([this](QWidget*, const QString& text) { m_messages << text; });
    m_dataFile = DataFilePath(AppDir());
}

void TestTorvel::init() {
    m_messages.clear();
    QFile::remove(m_dataFile);
    QFile file(m_dataFile);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(kOldFile);
    file.close();
    m_window = new TORVEL;
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
}

void TestTorvel::cleanup() {
    delete m_window;
    m_window = nullptr;
    QDir().rmdir(m_dataFile);
}

void TestTorvel::layout_data() {
    QTest::addColumn<int>("left");  // twips, 15 to a pixel
    QTest::addColumn<int>("top");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("pointSize");
    QTest::addColumn<bool>("bold");
    struct Row {
        const char* name;
        int left, top, width, height;
        const char* text;
        double pointSize;
        bool bold;
    };
    const Row rows[] = {
        {"T1", 1680, 240, 3615, 255, "     РАССЧЕТ МУЛЬТИФИДА", 12, true},
        {"T2", 1680, 600, 3615, 255, "     ПО КООРДИНАТАМ СПУТНИКОВ", 8.25, true},
        {"Gprog", 720, 120, 855, 375, "START", 8.25, false},
        {"RISYNOK", 720, 720, 855, 375, "Рисунок", 8.25, false},
        {"cmdExit", 5400, 360, 615, 495, "EXIT", 8.25, false},
        {"NAPR", 480, 4440, 1395, 315, "НАПРАВЛЕНИЕ", 8.25, false},
        {"T3", 240, 1320, 2055, 735,
         " Ваши  координаты           места  (пример: г.Тверия ИЗРАИЛЬ)", 9.75, false},
        {"Label1", 2400, 1080, 3735, 255, " долгота(градусы)            долгота(минуты)", 8.25,
         false},
        {"Text1", 2640, 1320, 855, 285, "35", 8.25, false},
        {"Text2", 4440, 1320, 975, 285, "27.69", 8.25, false},
        {"T4", 2280, 1560, 3495, 255, "   широта(градусы)              широта(минуты)", 8.25,
         false},
        {"Text3", 2640, 1800, 855, 285, "32", 8.25, false},
        {"Text4", 4440, 1800, 975, 285, "48.5", 8.25, false},
        {"Label6", 360, 2280, 3495, 255, "ФОКУСНОЕ РАССТОЯНИЕ АНТЕНЫ", 8.25, true},
        {"Text13", 4440, 2280, 975, 285, "", 8.25, true},
        {"T5", 240, 2640, 1815, 735,
         "     Координаты            TV-спутника  (1)     установленного", 9.75, false},
        {"T6", 2400, 2760, 3615, 255, " долгота(градусы)             долгота(минуты)", 8.25, false},
        {"Text5", 2640, 3000, 855, 285, "", 8.25, false},
        {"Text6", 4440, 3000, 975, 285, "", 8.25, false},
        {"Label2", 240, 3480, 2175, 735,
         "     Координаты            TV-спутника (2)  устанавливаемого", 9.75, true},
        {"Label3", 2400, 3480, 3375, 375, "долгота(градусы)              долгота(минуты)", 8.25,
         false},
        {"Text9", 2640, 3720, 855, 285, "", 8.25, false},
        {"Text10", 4440, 3720, 975, 285, "", 8.25, false},
        {"T7", 2040, 4440, 2175, 375, "      РЕЗУЛЬТАТ", 12, true},
        {"T8", 240, 4920, 1695, 255, "1)  BETA-угол  места", 8.25, false},
        {"Text7", 1920, 4800, 1215, 360, "", 9.75, true},
        {"T9", 3240, 4920, 1575, 375, "    1) ALFA-азимут", 8.25, false},
        {"Text8", 4800, 4800, 1215, 330, "", 9.75, true},
        {"Label4", 240, 5400, 1695, 375, "2)  BETA-угол места", 8.25, false},
        {"Text11", 1920, 5280, 1215, 375, "", 9.75, true},
        {"Label5", 3240, 5400, 1575, 375, "     2)  ALFA-азимут", 8.25, false},
        {"Text12", 4800, 5280, 1215, 375, "", 9.75, true},
        {"Label7", 240, 5760, 6255, 255, "СДВИГ УГЛА ВОЗВЫШЕНИЯ        РАССТОЯНИЕ МЕЖДУ ЦЕНТРАМИ ",
         8.25, true},
        {"Text14", 480, 6120, 2175, 375, "", 8.25, true},
        {"Text16", 2760, 6120, 855, 375, "", 9.75, true},
        {"Text15", 3720, 6120, 2295, 375, "", 8.25, true},
        {"Label8", 2280, 6600, 1815, 255, " УГОЛ ПОВОРОТА", 8.25, true},
    };
    for (const Row& r : rows)
        QTest::newRow(r.name) << r.left << r.top << r.width << r.height << QString::fromUtf8(r.text)
                              << r.pointSize << r.bold;
}

void TestTorvel::layout() {
    QFETCH(int, left);
    QFETCH(int, top);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(QString, text);
    QFETCH(double, pointSize);
    QFETCH(bool, bold);
    const QWidget* control = m_window->findChild<QWidget*>(QTest::currentDataTag());
    QVERIFY(control);
    QCOMPARE(control->parentWidget(), m_window);
    QCOMPARE(control->geometry(), QRect(left / 15, top / 15, width / 15, height / 15));
    QCOMPARE(control->property("text").toString(), text);
    QCOMPARE(control->font().pointSizeF(), pointSize);
    QCOMPARE(control->font().bold(), bold);
    QVERIFY(!control->font().italic() && !control->font().underline());
    if (auto* label = qobject_cast<const QLabel*>(control)) {
        QCOMPARE(label->textFormat(), Qt::PlainText);
        QVERIFY(label->wordWrap());
        QCOMPARE(label->alignment(), Qt::AlignLeft | Qt::AlignTop);
        QCOMPARE(label->focusPolicy(), Qt::NoFocus);
    }
}

void TestTorvel::linesAndLegends() {
    struct Line {
        const char* name;
        int x1, y1, x2, y2, width;
    };
    const Line lines[] = {
        {"Line1", 1800, 960, 5160, 960, 1},  {"Line2", 1800, 120, 5160, 120, 1},
        {"Line3", 1800, 960, 1800, 120, 1},  {"Line4", 5160, 120, 5160, 960, 1},
        {"Line5", 240, 4320, 6360, 4320, 5}, {"Line6", 2280, 2040, 2280, 1200, 1},
        {"Line7", 480, 5760, 6360, 5760, 1},
    };
    for (const Line& l : lines) {
        const QWidget* line = m_window->findChild<QWidget*>(l.name);
        QVERIFY2(line, l.name);
        const QRect rect = line->geometry();
        QVERIFY2(rect.contains(l.x1 / 15, l.y1 / 15) && rect.contains(l.x2 / 15, l.y2 / 15),
                 l.name);
        QCOMPARE(qMin(rect.width(), rect.height()), l.width);
    }

    // The legends: 45 x 30 24-bit bitmaps at their natural size, a plus and a minus on the body.
    for (const auto& [name, left] : {std::pair("Image3", 1200), std::pair("Image2", 4440)}) {
        const auto* image = m_window->findChild<QLabel*>(name);
        QVERIFY2(image, name);
        QCOMPARE(image->pixmap().size(), QSize(45, 30));
        QCOMPARE(image->geometry(), QRect(left / 15, 6600 / 15, 45, 30));
        QFile bitmap(QStringLiteral(":/legend/%1.bmp").arg(name));
        QVERIFY(bitmap.open(QIODevice::ReadOnly));
        const QByteArray header = bitmap.read(30);
        QVERIFY(header.startsWith("BM"));
        QCOMPARE(int(uchar(header[28])), 24);  // bits per pixel
    }
    const QImage plus = m_window->findChild<QLabel*>("Image3")->pixmap().toImage();
    const QImage minus = m_window->findChild<QLabel*>("Image2")->pixmap().toImage();
    // The vertical stroke of the plus; the minus has none. Both have the horizontal stroke.
    QCOMPARE(plus.pixelColor(27, 9), QColor(Qt::black));
    QVERIFY(minus.pixelColor(27, 9) != QColor(Qt::black));
    QCOMPARE(minus.pixelColor(22, 15), QColor(Qt::black));
}

void TestTorvel::boxesAndWindow() {
    QCOMPARE(m_window->windowTitle(), QStringLiteral("RASCHET"));
    QCOMPARE(m_window->size(), QSize(445, 462));
    QCOMPARE(m_window->font().pointSizeF(), 9.75);
    QVERIFY(m_window->font().bold());
    // Resizable, and the controls stay where they are.
    QVERIFY(m_window->minimumSize() != m_window->maximumSize());
    m_window->resize(700, 600);
    QCOMPARE(box("Text1")->geometry(), QRect(176, 88, 57, 19));
    m_window->resize(200, 150);
    QCOMPARE(box("Text15")->geometry(), QRect(248, 408, 153, 25));

    for (int n = 1; n <= 16; ++n) {
        const QLineEdit* edit = box(QStringLiteral("Text%1").arg(n));
        QVERIFY(edit);
        QVERIFY(!edit->isReadOnly());
        QVERIFY(edit->alignment() & Qt::AlignLeft);
        QVERIFY(edit->maxLength() > 1000000);
    }

    const QPalette palette = box("Text16")->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        QCOMPARE(palette.color(group, QPalette::Text), QColor(Qt::black));
}

void TestTorvel::focusOrder() {
    const QStringList expected = {"Text1",   "Text2",  "Text3",  "Text4",  "Text5",
                                  "Text6",   "Text7",  "Text8",  "Gprog",  "RISYNOK",
                                  "cmdExit", "NAPR",   "Text9",  "Text10", "Text11",
                                  "Text12",  "Text13", "Text14", "Text15", "Text16"};
    QVERIFY(QTest::qWaitForWindowActive(m_window));
    QCOMPARE(QApplication::focusWidget(), box("Text1"));
    // Tab walks the chain, and from the last control it comes back to the first.
    QStringList visited;
    for (int i = 0; i <= expected.size(); ++i) {
        visited << QApplication::focusWidget()->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(visited, expected + QStringList{"Text1"});
}

void TestTorvel::runs_data() {
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QStringList>("typed");     // "Box=text", in order
    QTest::addColumn<QStringList>("expected");  // result boxes that change; the others stay empty
    QTest::addColumn<QString>("message");       // part of the one message, or empty
    QTest::addColumn<QByteArray>("file");       // "<folder>": a folder stands where the file goes

    const QStringList worked = kWorkedInputs, none;
    const QString fault = QStringLiteral("Расчёт остановлен");
    auto row = [](const char* name, QChar separator, const QStringList& typed,
                  const QStringList& expected, const QString& message, const QByteArray& file) {
        QTest::newRow(name) << separator << typed << expected << message << file;
    };
    row("worked example", '.', worked, kWorkedOutputs, "", kWorkedLine);
    row("worked example, comma separator", ',', worked, kWorkedOutputs, "", kWorkedLine);
    row("file cannot be replaced", '.', worked, kWorkedOutputs,
        QDir::toNativeSeparators(m_dataFile) + "\n", "<folder>");
    row("nothing typed", '.', none, none, "НЕТ КООРДИНАТ (1) ", kOldFile);
    row("satellite 2 missing", '.', {"Text5=13"}, none, "НЕТ КООРДИНАТ (2)", kOldFile);
    row("focal length missing", '.', {"Text5=13", "Text9=19"}, none, "НЕТ ФОКУСА АНТЕНЫ", kOldFile);
    row("blank focal length", '.', worked + QStringList{"Text13= "},
        kWorkedOutputs + QStringList{"Text14= 0мм-->НИЖЕ", "Text15= 0мм-->СПРАВА"}, "",
        kWorkedLine);
    row("latitude 0", '.', worked + QStringList{"Text3=0", "Text4=0"}, none, fault, kOldFile);
    row("latitude empty", '.', worked + QStringList{"Text3=", "Text4="}, none, fault, kOldFile);
    row("satellite 1 degrees 1e400", '.', worked + QStringList{"Text5=1e400"}, none, fault,
        kOldFile);
    row("satellite 2 degrees 1e400", ',', worked + QStringList{"Text9=1e400"},
        {"Text8= 217.344291652777"}, fault, kOldFile);
    row("satellite 2 equal to satellite 1", '.', worked + QStringList{"Text9=13", "Text10="},
        kWorkedOutputs + QStringList{"Text16= + 30.7", "Text12= 217.3443", "Text11= 44.81685",
                                     "Text14= 0мм-->ВЫШЕ", "Text15= 0мм-->СПРАВА"},
        "", kWorkedLine);
    row("satellite 2 at the site's longitude", '.',
        worked + QStringList{"Text9=35", "Text10=27.69"},
        kWorkedOutputs + QStringList{"Text16= 0", "Text12= 180", "Text11= 51.84218",
                                     "Text14= 55.0408мм-->НИЖЕ", "Text15= 272.971мм-->СПРАВА"},
        "", kWorkedLine);
}

void TestTorvel::runs() {
    QFETCH(QChar, separator);
    QFETCH(QStringList, typed);
    QFETCH(QStringList, expected);
    QFETCH(QString, message);
    QFETCH(QByteArray, file);

    if (file == "<folder>") QVERIFY(QFile::remove(m_dataFile) && QDir().mkdir(m_dataFile));
    m_window->setDecimalSeparator(separator);
    for (const QString& pair : typed) {
        const qsizetype eq = pair.indexOf('=');
        type(pair.left(eq), pair.mid(eq + 1));
    }
    click("Gprog");

    const QMap<QString, QString> outputs = pairs(expected);
    for (const QString& name : kOutputs) {
        QCOMPARE(qPrintable(name + "=" + box(name)->text()),
                 qPrintable(name + "=" + outputs.value(name)));
        QCOMPARE(box(name)->cursorPosition(), 0);  // the beginning of a long result shows
    }
    QCOMPARE(m_messages.size(), message.isEmpty() ? 0 : 1);
    if (!message.isEmpty()) QVERIFY2(m_messages[0].contains(message), qPrintable(m_messages[0]));
    if (file == "<folder>")
        QVERIFY(QFileInfo(m_dataFile).isDir());
    else
        QCOMPARE(fileContent(m_dataFile), file);
    // Writing Text7 counts as its change.
    const bool typedText5 = !typed.filter(QRegularExpression("^Text5=")).isEmpty();
    QCOMPARE(m_window->editState(), outputs.contains("Text7") ? 2 : typedText5 ? 1 : 0);
}

void TestTorvel::editState_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("before");  // text already in the box, not counted as a change
    QTest::addColumn<QString>("keys");    // typed; empty means one Backspace
    QTest::addColumn<int>("state");
    QTest::newRow("untouched") << QString() << QString() << QString() << 0;
    QTest::newRow("typing in Text6") << "Text6" << QString() << "5" << 0;
    QTest::newRow("typing in Text9") << "Text9" << QString() << "19" << 0;
    QTest::newRow("typing in Text5") << "Text5" << QString() << "1" << 1;
    QTest::newRow("clearing Text5 by Backspace") << "Text5"
                                                 << "1" << QString() << 1;
    QTest::newRow("typing in Text7") << "Text7" << QString() << "4" << 2;
    QTest::newRow("clearing Text7 by Backspace") << "Text7"
                                                 << "4" << QString() << 2;
}

void TestTorvel::editState() {
    QFETCH(QString, name);
    QFETCH(QString, before);
    QFETCH(QString, keys);
    QFETCH(int, state);

    if (!name.isEmpty()) {
        QLineEdit* edit = box(name);
        {
            const QSignalBlocker quiet(edit);
            edit->setText(before);
        }
        if (keys.isEmpty())
            QTest::keyClick(edit, Qt::Key_Backspace);
        else
            QTest::keyClicks(edit, keys);
        QCOMPARE(edit->text(), before.chopped(keys.isEmpty() ? 1 : 0) + keys);
    }
    QCOMPARE(m_window->editState(), state);

    // Only a state other than 0 lets the two buttons open their windows.
    delete m_window->viewerWindow();
    click("RISYNOK");
    QCOMPARE(m_window->viewerWindow() != nullptr, state != 0);
    if (state != 0) QVERIFY(m_window->viewerWindow()->isVisible());
    QVERIFY(m_window->plotWindow() && !m_window->plotWindow()->isVisible());
    click("NAPR");
    QCOMPARE(m_window->plotWindow()->isVisible(), state != 0);
}

void TestTorvel::exit_data() {
    QTest::addColumn<bool>("byButton");
    QTest::newRow("EXIT") << true;
    QTest::newRow("title bar close") << false;
}

void TestTorvel::exit() {
    QFETCH(bool, byButton);
    QVERIFY(m_window->viewerWindow() && m_window->viewerWindow()->isVisible());
    type("Text5", "13");
    click("NAPR");
    QVERIFY(m_window->plotWindow()->isVisible());

    // The action runs inside the program's event loop, which it must end; the guard ends a loop
    // that keeps running with another code.
    QTimer::singleShot(0, m_window, [this, byButton] {
        if (byButton)
            click("cmdExit");
        else
            m_window->close();
    });
    QTimer guard;
    guard.setSingleShot(true);
    connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    guard.start(10000);
    QCOMPARE(QCoreApplication::exec(), 0);
    QVERIFY(!m_window->viewerWindow());
    QVERIFY(!m_window->plotWindow());
    QVERIFY(!m_window->isVisible());
    const auto windows = QApplication::topLevelWidgets();
    for (const QWidget* window : windows)
        QVERIFY2(!window->isVisible(), qPrintable(window->windowTitle()));
}

QTEST_MAIN(TestTorvel)
#include "tst_torvel.moc"
