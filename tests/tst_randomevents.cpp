// Drives the whole program, as it starts, with a long run of random clicks, key presses and
// texts on all three windows, and checks after every START of the main window that the run did
// what the calculation says: the result boxes, the one message and the direction data file,
// which holds the previous line or the new one, whole, and nothing else.
//
// The run is seeded: the seed is printed, and TORVEL_RANDOM_SEED=<seed> repeats a run exactly;
// TORVEL_RANDOM_EVENTS=<n> changes its length. A failure also prints the last actions.

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <iterator>

#include "appdir.h"
#include "datafile.h"
#include "flin1.h"
#include "fris123.h"
#include "messages.h"
#include "startrun.h"
#include "torvel.h"

namespace {

constexpr quint32 kDefaultSeed = 20261207;
constexpr int kDefaultEvents = 3000;

QByteArray fileContent(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

quint32 envNumber(const char* name, quint32 fallback) {
    bool ok = false;
    const quint32 value = qEnvironmentVariable(name).toUInt(&ok);
    return ok ? value : fallback;
}

// Pieces of input texts: numbers the calculation takes, numbers at and past the limits of
// single and double precision, and texts that are no numbers at all.
const char* const kPieces[] = {
    "13",     "19",      "12",    "450",   "35",      "27.69", "32",  "48.5",  "0",      "-0",
    "90",     "-90",     "180",   "-180",  "360",     "5",     "-13", "0.5",   ".5",     "-.25",
    "",       " ",       "   ",   ",",     "27,69",   "1,5",   ",5",  "1e400", "-1e400", "1e38",
    "3.4e38", "1e39",    "-1e39", "1e-45", "-1e-400", "1e308", "1d5", "1E+",   "1e-",    "e5",
    "-",      "--5",     "+-3",   ".",     "..",      "1.2.3", "abc", "x",     "nan",    "inf",
    "Ж",      "ДОЛГОТА", "1 3",   "\t7",   "0x1F",    "١٢",    "9",   "-1",    "45",     "200",
};

}  // namespace

class TestRandomEvents : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();
    void randomEvents();

private:
    // One user action, chosen at random.
    void act();
    void typeIntoMain();
    void actOnPlot(FLIN1* plot);
    void actOnViewer(FRIS123* viewer);
    void pressMainStart();
    void exitAndRestart();
    void startProgram();

    void type(QLineEdit* edit, const QString& text);
    void editKey(QLineEdit* edit);
    void click(QWidget* window, const char* button);
    // Lets the event loop deliver what is pending, as it does between two user actions.
    void settle();

    QString randomText();
    int pick(int bound) { return int(m_random.bounded(bound)); }
    // Records an action for the trail a failure prints, and counts it by its kind.
    void note(const QString& kind, const QString& detail = {});

    QRandomGenerator m_random;
    quint32 m_seed = 0;
    int m_step = 0;
    QStringList m_trail;
    QStringList m_messages;
    QString m_dataFile;
    QPointer<TORVEL> m_main;
    CarriedValues m_carried;
    QChar m_separator;
    QMap<QString, int> m_counts;
};

void TestRandomEvents::initTestCase() {
    // The offscreen platform cannot raise a window and says so at every "show the main window";
    // that says nothing about the program, and thousands of lines would hide what does.
    static QtMessageHandler testHandler = nullptr;
    testHandler = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext& context, const QString& message) {
            if (message != QLatin1String("This plugin does not support raise()"))
                testHandler(type, context, message);
        });
    Messages::setHandler([this](QWidget*, const QString& text) { m_messages << text; });
    m_dataFile = DataFilePath(AppDir());
    QFile::remove(m_dataFile);  // the plot also meets the missing file
}

void TestRandomEvents::cleanup() {
    if (QTest::currentTestFailed()) {
        qWarning("seed %u, failed at event %d; the last actions:\n%s", m_seed, m_step,
                 qPrintable(m_trail.join('\n')));
    }
    delete m_main;
}

void TestRandomEvents::note(const QString& kind, const QString& detail) {
    m_trail << QStringLiteral("%1: %2 %3").arg(m_step).arg(kind, detail);
    if (m_trail.size() > 40) m_trail.removeFirst();
    ++m_counts[kind];
}

void TestRandomEvents::randomEvents() {
    m_seed = envNumber("TORVEL_RANDOM_SEED", kDefaultSeed);
    const int events = int(envNumber("TORVEL_RANDOM_EVENTS", kDefaultEvents));
    m_random.seed(m_seed);
    qInfo("seed %u, %d events (TORVEL_RANDOM_SEED=%u repeats this run)", m_seed, events, m_seed);

    startProgram();
    for (m_step = 0; m_step < events; ++m_step) {
        act();
        if (QTest::currentTestFailed()) return;
        settle();
        QVERIFY(m_main && m_main->isVisible());
    }
    QString summary;
    for (auto it = m_counts.cbegin(); it != m_counts.cend(); ++it)
        summary += QStringLiteral("\n  %1: %2").arg(it.key()).arg(it.value());
    qInfo("actions:%s", qPrintable(summary));

    // Every outcome of START was met, so the run tested what it claims to.
    QVERIFY(m_counts.value("main START completed") > 0);
    QVERIFY(m_counts.value("main START stopped") > 0);
    QVERIFY(m_counts.value("main START missing") > 0);
    QVERIFY(m_counts.value("exit and restart") > 0);
    // Replacing the file leaves nothing behind.
    const QStringList leftovers =
        QDir(AppDir()).entryList({"rlin1*", "*.tmp"}, QDir::Files | QDir::Hidden);
    QVERIFY2(leftovers.size() <= 1, qPrintable(leftovers.join(' ')));
}

void TestRandomEvents::startProgram() {
    // As the program starts: the main window loads the other two, then shows itself last.
    m_main = new TORVEL;
    m_separator = pick(2) ? u',' : u'.';
    m_main->setDecimalSeparator(m_separator);
    m_main->show();
    m_carried = {};
}

void TestRandomEvents::settle() {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void TestRandomEvents::act() {
    const int roll = pick(1000);
    if (roll < 420) {
        typeIntoMain();
    } else if (roll < 580) {
        pressMainStart();
    } else if (roll < 620) {
        note("main Рисунок");
        click(m_main, "RISYNOK");
    } else if (roll < 660) {
        note("main НАПРАВЛЕНИЕ");
        click(m_main, "NAPR");
    } else if (roll < 800) {
        FLIN1* plot = m_main->plotWindow();  // fetched afresh: an action may have deleted it
        if (plot && plot->isVisible()) actOnPlot(plot);
    } else if (roll < 950) {
        FRIS123* viewer = m_main->viewerWindow();
        if (viewer && viewer->isVisible()) actOnViewer(viewer);
    } else if (roll < 995) {
        // A click anywhere on the window but its buttons, which have their own actions.
        const QPoint at(pick(m_main->width()), pick(m_main->height()));
        QWidget* target = m_main->childAt(at);
        if (!target) target = m_main;
        if (qobject_cast<QPushButton*>(target)) return;
        note("main click", target->objectName());
        QTest::mouseClick(target, Qt::LeftButton, {}, target->mapFrom(m_main, at));
    } else {
        exitAndRestart();
    }
}

void TestRandomEvents::click(QWidget* window, const char* button) {
    auto* b = window->findChild<QPushButton*>(QLatin1String(button));
    QVERIFY2(b, button);
    QTest::mouseClick(b, Qt::LeftButton);
}

QString TestRandomEvents::randomText() {
    const int kind = pick(100);
    if (kind < 3) {
        // A very long text: a number of many digits, or repeats of a piece.
        const int length = 500 + pick(4000);
        if (pick(2)) return QStringLiteral("1") + QString(length, u'0');
        return QString::fromUtf8(kPieces[pick(std::size(kPieces))]).repeated(length / 4);
    }
    if (kind < 10) {
        // A number of any size and precision.
        const double value = (m_random.generateDouble() - 0.5) * std::pow(10.0, pick(80) - 40);
        return QString::number(value, 'g', 1 + pick(17));
    }
    QString text;
    for (int pieces = 1 + pick(kind < 70 ? 1 : 3); pieces > 0; --pieces)
        text += QString::fromUtf8(kPieces[pick(std::size(kPieces))]);
    return text;
}

void TestRandomEvents::type(QLineEdit* edit, const QString& text) {
    if (text.size() > 100) {
        edit->insert(text);  // pasted: typing it key by key would only slow the run down
        return;
    }
    for (const QChar c : text) {
        if (c.unicode() < 128)
            QTest::keyClick(edit, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

void TestRandomEvents::editKey(QLineEdit* edit) {
    struct Key {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        const char* name;
    };
    static const Key keys[] = {
        {Qt::Key_Backspace, {}, "Backspace"},
        {Qt::Key_Delete, {}, "Delete"},
        {Qt::Key_Left, {}, "Left"},
        {Qt::Key_Right, {}, "Right"},
        {Qt::Key_Home, {}, "Home"},
        {Qt::Key_End, {}, "End"},
        {Qt::Key_A, Qt::ControlModifier, "Ctrl+A"},
        {Qt::Key_Z, Qt::ControlModifier, "Ctrl+Z"},
        {Qt::Key_Y, Qt::ControlModifier, "Ctrl+Y"},
        {Qt::Key_X, Qt::ControlModifier, "Ctrl+X"},
        {Qt::Key_C, Qt::ControlModifier, "Ctrl+C"},
        {Qt::Key_V, Qt::ControlModifier, "Ctrl+V"},
        {Qt::Key_Return, {}, "Return"},
        {Qt::Key_Escape, {}, "Escape"},
        {Qt::Key_Tab, {}, "Tab"},
        {Qt::Key_Left, Qt::ShiftModifier, "Shift+Left"},
    };
    const Key& k = keys[pick(std::size(keys))];
    const int times = k.key == Qt::Key_Backspace || k.key == Qt::Key_Delete ? 1 + pick(6) : 1;
    note(QStringLiteral("key %1").arg(QLatin1String(k.name)),
         QStringLiteral("x%1 in %2").arg(times).arg(edit->objectName()));
    for (int i = 0; i < times; ++i) QTest::keyClick(edit, k.key, k.modifiers);
}

void TestRandomEvents::typeIntoMain() {
    // The boxes the calculation reads are chosen most often.
    static const char* const inputs[] = {"Text1", "Text2", "Text3",  "Text4", "Text5",
                                         "Text6", "Text9", "Text10", "Text13"};
    const QString name = pick(5) ? QString::fromLatin1(inputs[pick(std::size(inputs))])
                                 : QStringLiteral("Text%1").arg(1 + pick(16));
    QLineEdit* edit = m_main->findChild<QLineEdit*>(name);
    QVERIFY2(edit, qPrintable(name));
    const int how = pick(10);
    if (how < 4) {
        const QString text = randomText();
        note("main type replace", QStringLiteral("%1 \"%2\"").arg(name, text.left(40)));
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        if (text.isEmpty())
            QTest::keyClick(edit, Qt::Key_Backspace);
        else
            type(edit, text);
    } else if (how < 6) {
        const QString text = randomText();
        note("main type insert", QStringLiteral("%1 \"%2\"").arg(name, text.left(40)));
        type(edit, text);
    } else if (how < 9) {
        editKey(edit);
    } else {
        note("main mouse in box", name);
        const QPoint at(pick(qMax(1, edit->width())), edit->height() / 2);
        if (pick(3))
            QTest::mouseClick(edit, Qt::LeftButton, {}, at);
        else
            QTest::mouseDClick(edit, Qt::LeftButton, {}, at);
    }
}

void TestRandomEvents::pressMainStart() {
    auto box = [this](const char* name) {
        return m_main->findChild<QLineEdit*>(QLatin1String(name))->text();
    };
    const StartInputs inputs{box("Text1"), box("Text2"), box("Text3"),  box("Text4"), box("Text5"),
                             box("Text6"), box("Text9"), box("Text10"), box("Text13")};
    const StartResult expected = RunStart(inputs, m_carried, m_separator);
    const QByteArray before = fileContent(m_dataFile);
    const qsizetype messages = m_messages.size();

    const char* outcome = expected.end == RunEnd::Completed      ? "completed"
                          : expected.end == RunEnd::MissingInput ? "missing"
                                                                 : "stopped";
    note(QStringLiteral("main START %1").arg(QLatin1String(outcome)));
    click(m_main, "Gprog");

    // The file: the new line after a completed run, otherwise the previous content untouched.
    const QByteArray after = fileContent(m_dataFile);
    if (expected.end == RunEnd::Completed) {
        QCOMPARE(after, DataFileLine(expected.alpha1, expected.beta1));
        QCOMPARE(m_messages.size(), messages);
    } else {
        QCOMPARE(after, before);
        QCOMPARE(m_messages.size(), messages + 1);
        QCOMPARE(m_messages.last(), expected.message);
    }
    if (expected.end == RunEnd::MissingInput) return;
    for (const BoxWrite& write : expected.writes) {
        const QString shown = box(write.box.toLatin1().constData());
        QCOMPARE(qPrintable(write.box + '=' + shown), qPrintable(write.box + '=' + write.text));
    }
    m_carried = expected.carried;
}

void TestRandomEvents::actOnPlot(FLIN1* plot) {
    const int roll = pick(20);
    if (roll < 8) {
        // START yields to the event loop once; now and then something happens right there: the
        // window is closed (and deleted at once or later), START is pressed again, or the main
        // window's START runs.
        if (roll < 3) {
            const int during = pick(4);
            static const char* const what[] = {"close", "close and delete", "START", "main START"};
            note("plot START, something during it", QLatin1String(what[during]));
            QTimer::singleShot(0, plot, [this, plot, during] {
                if (during == 0) {
                    plot->close();
                } else if (during == 1) {
                    plot->close();
                    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
                } else if (during == 2) {
                    click(plot, "START");
                } else if (m_main) {
                    pressMainStart();
                }
            });
        } else {
            note("plot START");
        }
        const QByteArray before = fileContent(m_dataFile);
        const qsizetype mainStarts = m_counts.value("main START completed");
        click(plot, "START");
        // Drawing only reads the file.
        if (m_counts.value("main START completed") == mainStarts)
            QCOMPARE(fileContent(m_dataFile), before);
    } else if (roll < 10) {
        note("plot EXIT");
        click(plot, "CMDEXIT");
    } else if (roll < 12) {
        note("plot close");  // the title bar's close box
        plot->close();
    } else {
        auto* rotation = plot->findChild<QLineEdit*>(QStringLiteral("POZIA"));
        QVERIFY(rotation);
        if (pick(2)) {
            editKey(rotation);
        } else {
            const QString text = randomText();
            note("plot type replace POZIA", QStringLiteral("\"%1\"").arg(text.left(40)));
            QTest::keyClick(rotation, Qt::Key_A, Qt::ControlModifier);
            type(rotation, text);
        }
    }
}

void TestRandomEvents::actOnViewer(FRIS123* viewer) {
    const int roll = pick(10);
    const qsizetype messages = m_messages.size();
    if (roll < 6) {
        note("viewer PИС.1,2,3");
        click(viewer, "RISYNOK");
    } else if (roll < 8) {
        note("viewer ВЫХОД");
        click(viewer, "cmd1");
    } else {
        note("viewer close");
        viewer->close();
    }
    // Every picture is beside the program, so the viewer has nothing to report.
    QCOMPARE(m_messages.mid(messages), QStringList());
}

void TestRandomEvents::exitAndRestart() {
    // EXIT and the title bar's close box end the program's event loop; the program is then
    // started again.
    const bool byButton = pick(2);
    note("exit and restart", byButton ? "by EXIT" : "by the close box");
    QTimer::singleShot(0, m_main, [this, byButton] {
        if (byButton)
            click(m_main, "cmdExit");
        else
            m_main->close();
    });
    QTimer guard;
    guard.setSingleShot(true);
    connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    guard.start(10000);
    QCOMPARE(QCoreApplication::exec(), 0);
    QVERIFY(!m_main->plotWindow());
    QVERIFY(!m_main->viewerWindow());
    const auto windows = QApplication::topLevelWidgets();
    for (const QWidget* window : windows)
        QVERIFY2(!window->isVisible(), qPrintable(window->windowTitle()));
    delete m_main;
    startProgram();
}

QTEST_MAIN(TestRandomEvents)
#include "tst_randomevents.moc"
