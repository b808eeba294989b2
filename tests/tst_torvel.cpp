// SPDX-License-Identifier: GPL-3.0-or-later
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include "appdir.h"
#include "datafile.h"
#include "flin1.h"
#include "fris123.h"
#include "messages.h"
#include "startrun.h"
#include "torvel.h"

// The system's own calls, once Qt has said which system this is.
#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif
#ifdef Q_OS_WIN
#include <windows.h>
#endif

using namespace Qt::StringLiterals;
using Boxes = QMap<QString, QString>;

namespace {

// The result boxes, and what they show after START on the worked example.
const QStringList kOutputs = {"Text7", "Text8", "Text11", "Text12", "Text14", "Text15", "Text16"};
const QStringList kWorkedOutputs = {
    " 44.8168471212995", " 217.344291652777",   " 47.99485", " 208.2955",
    " 24.9487мм-->НИЖЕ", " 70.7734мм-->СПРАВА", " + 23.5"};
const Boxes kWorked = {{"Text5", "13"}, {"Text9", "19"}, {"Text10", "12"}, {"Text13", "450"}};
const QByteArray kOldFile = "200,30\r\n", kWorkedLine = "217.344291652777,44.8168471212995\r\n";

void click(QWidget* window, const char* button) {
    QTest::mouseClick(window->findChild<QPushButton*>(QLatin1String(button)), Qt::LeftButton);
}

// A second name for a file: after a replacement it still holds the old content.
bool hardLink(const QString& file, const QString& name) {
#ifdef Q_OS_WIN
    return CreateHardLinkW(reinterpret_cast<const wchar_t*>(name.utf16()),
                           reinterpret_cast<const wchar_t*>(file.utf16()), nullptr);
#else
    return ::link(QFile::encodeName(file), QFile::encodeName(name)) == 0;
#endif
}

}  // namespace

class TestTorvel : public QObject {
    Q_OBJECT
    TORVEL* m_window = nullptr;
    QStringList m_messages, m_atMessage;  // the result boxes as the last message was shown

    QLineEdit* box(const QString& name) const { return m_window->findChild<QLineEdit*>(name); }
    QString tip(const QString& name, QWidget* window = nullptr) const {
        return (window ? window : m_window)->findChild<QLineEdit*>(name)->toolTip();
    }
    QStringList outputs() const {
        QStringList shown;
        for (const QString& name : kOutputs) shown << box(name)->text();
        return shown;
    }
    // Pastes into the boxes as a user does (select all, then the clipboard).
    void type(const Boxes& typed) {
        for (auto it = typed.begin(); it != typed.end(); ++it) {
            QApplication::clipboard()->setText(it.value());
            QTest::keyClick(box(it.key()), Qt::Key_A, Qt::ControlModifier);
            QTest::keyClick(box(it.key()), Qt::Key_V, Qt::ControlModifier);
        }
    }
    // Types, then presses START.
    void start(Boxes typed, const Boxes& over = {}) {
        typed.insert(over);
        type(typed);
        click(m_window, "Gprog");
    }
    // Every box's text and tooltip, the plot's rotation box (its declination note) included.
    QStringList boxesAndTips() const {
        QList<QLineEdit*> edits = m_window->findChildren<QLineEdit*>();
        edits << m_window->plotWindow()->findChild<QLineEdit*>(u"POZIA"_s);
        QStringList state;
        for (const QLineEdit* edit : edits)
            state << edit->objectName() + u'=' + edit->text() + u'|' + edit->toolTip();
        return state;
    }

    // After a completed run, texts typed over the worked example (columns typed, then box: the
    // box the message is about, none when the run is taken; readAs: what it would be read as).
    // One message naming the box, with what was typed and what it would be read as; every box,
    // tooltip and the data file as the completed run left them; the box focused, text selected.
    void refusedRun() {
        QFETCH(Boxes, typed);
        QFETCH(QString, box);
        QFETCH(QString, readAs);
        start(kWorked);
        type(typed);
        const QStringList before = boxesAndTips();
        click(m_window, "Gprog");
        if (box.isEmpty()) {
            QCOMPARE(m_messages, QStringList());
            return;
        }
        QCOMPARE(m_messages.size(), 1);
        const QString typedText = this->box(box)->text();
        for (const QString& part : {u'«' + this->box(box)->accessibleName() + u'»',
                                    u'«' + typedText + u'»', u"как "_s + readAs})
            QVERIFY2(m_messages[0].contains(part), qPrintable(m_messages[0] + u"\n-- "_s + part));
        QCOMPARE(boxesAndTips(), before);
        QCOMPARE(ReadRegularFile(m_window->dataFile(), 100).content, kWorkedLine);
        QCOMPARE(m_window->focusWidget(), this->box(box));
        QCOMPARE(this->box(box)->selectedText(), typedText);
    }
    void refusedColumns() {
        QTest::addColumn<Boxes>("typed");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("readAs");
    }
    void refused(const char* name, const Boxes& typed, const QString& box, const QString& readAs) {
        QTest::newRow(name) << typed << box << readAs;
    }

private slots:
    void initTestCase() { QApplication::setPalette(QPalette(Qt::black)); }  // white text
    void init() {
        Messages::setHandler([this](QWidget*, const QString& text) {
            m_messages << text;
            m_atMessage = outputs();
        });
        m_messages.clear();
        (m_window = new TORVEL)->show();
        m_window->setDecimalSeparator(u',');  // the masked texts keep their '.' all the same
        if (AppDir()) QVERIFY(WriteDataFile(m_window->dataFile(), 200, 30, nullptr));
        QVERIFY(QTest::qWaitForWindowActive(m_window));
    }
    void cleanup() { delete m_window; }

    void runs_data() {
        QTest::addColumn<Boxes>("typed");        // over the worked example
        QTest::addColumn<QStringList>("shown");  // the result boxes afterwards
        QTest::addColumn<QString>("message");    // the one message shown, if any
        const QStringList none(kOutputs.size());
        QTest::newRow("worked example") << Boxes() << kWorkedOutputs << QString();
        QTest::newRow("all three empty") << Boxes{{"Text5", ""}, {"Text9", ""}, {"Text13", ""}}
                                         << none << u"НЕТ КООРДИНАТ (1) "_s;
        QTest::newRow("Text9, Text13 empty")
            << Boxes{{"Text9", ""}, {"Text13", ""}} << none << u"НЕТ КООРДИНАТ (2)"_s;
        QTest::newRow("Text13 empty") << Boxes{{"Text13", ""}} << none << u"НЕТ ФОКУСА АНТЕНЫ"_s;
        QTest::newRow("fault after Text8")
            << Boxes{{"Text9", "1e400"}} << QStringList{"", " 217.344291652777", "", "", "", "", ""}
            << FaultMessage(u"одно из введённых чисел слишком велико для расчёта"_s);
        // Pasted from a phone: Arabic-Indic digits after a right-to-left mark read 13.
        QTest::newRow("pasted") << Boxes{{"Text5", u"\u200f١٣"_s}} << kWorkedOutputs << QString();
        // New York with an en dash, a full-width minus and digits, a hyphen: the README's values.
        QTest::newRow("New York, dashes")
            << Boxes{{"Text1", u"\u201374"_s}, {"Text2", "0"},           {"Text3", "40"},
                     {"Text4", "43"},          {"Text5", u"－１０１"_s}, {"Text9", u"\u201097"_s},
                     {"Text10", ""},           {"Text13", "800"}}
            << QStringList{" 35.4160387577289", " 217.993353731746",   " 37.35273", " 213.0527",
                           " 27.0348мм-->НИЖЕ", " 68.8985мм-->СПРАВА", " + 24.4"}
            << QString();
    }
    void runs() {
        QFETCH(Boxes, typed);
        QFETCH(QStringList, shown);
        QFETCH(QString, message);
        // A second name of the old file, which a replaced file leaves with the old line.
        const QString file = m_window->dataFile(), old = file + u".old"_s;
        const auto removeOld = qScopeGuard([&] { QFile::remove(old); });
        QVERIFY(hardLink(file, old));
        start(kWorked, typed);
        QCOMPARE(m_messages, message.isEmpty() ? QStringList() : QStringList{message});
        QCOMPARE(outputs(), shown);
        // A message comes only once every result of the run is in its box.
        if (!message.isEmpty()) QCOMPARE(m_atMessage, shown);
        for (const QString& name : kOutputs) QCOMPARE(box(name)->cursorPosition(), 0);
        const QString line = shown[1].trimmed() + u',' + shown[0].trimmed() + u"\r\n"_s;
        QCOMPARE(ReadRegularFile(file, 100).content,
                 message.isEmpty() ? line.toLatin1() : kOldFile);
        QCOMPARE(ReadRegularFile(old, 100).content, kOldFile);
    }

    // Texts that are only partly a number, and texts with no number, by kind.
    void partlyRead_data() {
        refusedColumns();
        // Hemisphere letters: Johannesburg's "26S" would be 26 north, "101W" 101 east.
        refused("26S", {{"Text3", "26S"}, {"Text4", "12"}}, "Text3", "26");
        refused("101W", {{"Text5", "101W"}}, "Text5", "101");
        refused("с.ш.", {{"Text3", "32 с.ш."}}, "Text3", "32");
        refused("letter first", {{"Text3", "ю26"}}, "Text3", "0");
        // The decimal comma.
        refused("longitude", {{"Text1", "35,4615"}}, "Text1", "35");
        refused("focal length", {{"Text13", "0,45"}}, "Text13", "0");
        // Signs: degree and minute signs, a lone minus, an exponent letter without digits.
        refused("degree sign", {{"Text5", "13°"}}, "Text5", "13");
        refused("minute sign", {{"Text2", "27.69′"}}, "Text2", "27.69");
        refused("lone minus", {{"Text6", "-"}}, "Text6", "0");
        refused("exponent without digits", {{"Text10", "12e"}}, "Text10", "12");
        // Trailing words.
        refused("unit", {{"Text13", "450 мм"}}, "Text13", "450");
        refused("name", {{"Text9", "19 Astra"}}, "Text9", "19");
        // The boxes in their order: Text4 before Text5, whatever was typed first.
        refused("first in order", {{"Text5", "13E"}, {"Text4", "48,5"}}, "Text4", "48");
    }
    void partlyRead() { refusedRun(); }

    // Values no site or dish has; the limits themselves are taken.
    void impossible_data() {
        refusedColumns();
        refused("latitude 91", {{"Text3", "91"}, {"Text4", "0"}}, "Text3", "91°");
        refused("latitude -180", {{"Text3", "-180"}}, "Text3", "-179.19");
        refused("latitude 1e6", {{"Text3", "1e6"}, {"Text4", ""}}, "Text3", "1000000°");
        refused("degrees and minutes as one number", {{"Text3", "4043"}, {"Text4", ""}}, "Text3",
                "4043°");
        refused("minutes past the pole", {{"Text3", "89"}, {"Text4", "61"}}, "Text4", "90.01");
        refused("south pole", {{"Text3", "-89"}, {"Text4", "-60"}}, "", "");
        refused("focal length 0", {{"Text13", "0"}}, "Text13", "0 мм");
        refused("focal length below 0", {{"Text13", "-24.9487"}}, "Text13", "-24.9487 мм");
        refused("focal length of blanks", {{"Text13", "  "}}, "Text13", "0 мм");
        refused("focal length 1e6", {{"Text13", "1e6"}}, "Text13", "1000000 мм");
        refused("focal length 100000", {{"Text13", "100000"}}, "", "");
    }
    void impossible() { refusedRun(); }

    // Run from a folder whose name is not UTF-8, START, plot and viewer each say they use no file.
    void unusableProgramFolder() {
#ifndef Q_OS_UNIX
        QSKIP("Windows names folders in UTF-16, which holds every name");
#else
        if (qEnvironmentVariableIsSet("TORVEL_TEST_UNUSABLE_FOLDER")) {
            start(kWorked);
            click(m_window, "NAPR");
            click(m_window->plotWindow(), "START");
            click(m_window->viewerWindow(), "RISYNOK");
            QCOMPARE(m_messages, QStringList(3, UnusableAppDirMessage()));
            return;
        }
        QTemporaryDir dir;
        const QByteArray folder = QFile::encodeName(dir.path()) + "/\xff\xfe", copy = folder + "/t";
        const QString link = dir.filePath(u"t"_s);  // started through a link with a UTF-8 name
        const auto removeFolder = qScopeGuard([&] { ::unlink(copy), ::rmdir(folder); });
        if (::mkdir(folder, 0700) != 0)
            QSKIP("the temporary folder takes only names that are text");
        QVERIFY(QFile::copy(QCoreApplication::applicationFilePath(), link) &&
                ::rename(QFile::encodeName(link), copy) == 0 &&
                ::symlink(copy, QFile::encodeName(link)) == 0);
        QProcess child;
        child.setEnvironment(QProcess::systemEnvironment() << u"TORVEL_TEST_UNUSABLE_FOLDER=1"_s);
        child.start(link, {u"unusableProgramFolder"_s});
        QVERIFY(child.waitForFinished(60000));  // else the child is killed with the QProcess
        QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0,
                 child.readAll().constData());
        QVERIFY(::unlink(copy) == 0 && ::rmdir(folder) == 0);  // nothing else was written there
#endif
    }

    // A file kept away from the program folder is named once in the run, at the first START that
    // writes it; a data folder that cannot be used is named at every START and by the plot, and
    // nothing is written. The plot reads the file START wrote.
    void placeElsewhere_data() {
        QTest::addColumn<bool>("usable");
        QTest::newRow("kept in the user's folder") << true;
        QTest::newRow("no folder to use") << false;
    }
    void placeElsewhere() {
        QFETCH(bool, usable);
        QTemporaryDir dir;
        DataFilePlace place;
        if (usable)
            place = {dir.filePath(u"user/rlin1.txt"_s), {}, dir.filePath(u"rlin1.txt"_s), u"где"_s};
        else
            place.problem = u"нельзя"_s;
        delete m_window;
        (m_window = new TORVEL(place))->show();
        start(kWorked);
        start(kWorked);
        click(m_window, "NAPR");
        click(m_window->plotWindow(), "START");
        QCOMPARE(m_messages, usable ? QStringList{u"где"_s} : QStringList(3, u"нельзя"_s));
        QCOMPARE(ReadRegularFile(place.path, 100).content, usable ? kWorkedLine : QByteArray());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList());
    }

    // At start Text1 has the focus; Text16 shows its sign and angle in black whatever the colours.
    void atStart() {
        QCOMPARE(m_window->focusWidget(), box(u"Text1"_s));
        for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            QCOMPARE(box(u"Text16"_s)->palette().color(group, QPalette::Text), QColor(Qt::black));
    }

    // Typing in Text5 or Text7 lets "Рисунок" and "НАПРАВЛЕНИЕ" open their windows. "Рисунок" on
    // an open viewer keeps its place in the picture cycle; after "ВЫХОД" it loads it afresh.
    void buttons_data() {
        QTest::addColumn<QString>("typedIn");
        QTest::addColumn<bool>("unlocks");
        QTest::newRow("Text6") << u"Text6"_s << false;
        QTest::newRow("Text5") << u"Text5"_s << true;
        QTest::newRow("Text7") << u"Text7"_s << true;
    }
    void buttons() {
        QFETCH(QString, typedIn);
        QFETCH(bool, unlocks);
        click(m_window->viewerWindow(), "RISYNOK");  // the viewer is loaded, and shown, at start
        QTest::keyClicks(box(typedIn), u"4"_s);
        click(m_window, "RISYNOK");
        QCOMPARE(m_window->viewerWindow()->figureIndex(), 1);
        click(m_window->viewerWindow(), "cmd1");
        QTRY_VERIFY(!m_window->viewerWindow());
        click(m_window, "RISYNOK");
        QCOMPARE(m_window->viewerWindow() && m_window->viewerWindow()->figureIndex() == 0, unlocks);
        click(m_window, "NAPR");
        QCOMPARE(m_window->plotWindow()->isVisible(), unlocks);
    }

    // The feed boxes' tooltips after START, north and south of the equator: the second feed's
    // exact place and turns. A run that stops with a fault gives the boxes back their tooltips
    // from before any START.
    void feedToolTips_data() {
        QTest::addColumn<Boxes>("typed");  // over the worked example
        QTest::addColumn<QString>("rotation");
        QTest::addColumn<QString>("place");  // in Text14's and Text15's tooltips
        QTest::addColumn<QString>("turns");  // in Text16's
        QTest::newRow("worked example")
            << Boxes() << u" + 23.5"_s
            << u"между ними 7.0°.\nВторой облучатель ставят по другую сторону от основного,\n"
               u"от его центра: на 47.7 мм правее и на 27.8 мм ниже;\n"
               u"между центрами облучателей 55.2 мм.\n"_s
            << u"основной — 30.8° по часовой стрелке;\nвторой — 30.2° по часовой стрелке\n"_s;
        QTest::newRow("Johannesburg")
            << Boxes{{"Text1", "28"}, {"Text2", "3"},  {"Text3", "-26"}, {"Text4", "-12"},
                     {"Text5", "20"}, {"Text9", "36"}, {"Text10", ""},   {"Text13", "600"}}
            << u" + 15.7"_s
            << u"между ними 18.4°.\nСпутник 2 дальше 10° от спутника 1: облучатель так далеко\n"
               u"от оси антенны теряет много сигнала.\nВторой облучатель ставят по другую сторону "
               u"от основного,\nот его центра: на 193.1 мм левее и на 52.6 мм ниже;\n"
               u"между центрами облучателей 200.1 мм.\n"_s
            << u"основной — 15.9° против часовой стрелки;\nвторой — 14.5° против часовой стрелки\n"_s;
    }
    void feedToolTips() {
        QFETCH(Boxes, typed);
        QFETCH(QString, rotation);
        QFETCH(QString, place);
        QFETCH(QString, turns);
        const QStringList names = {"Text14", "Text15", "Text16"};
        QStringList before;
        for (const QString& name : names) before << tip(name);
        start(kWorked, typed);
        QCOMPARE(box(u"Text16"_s)->text(), rotation);
        for (const QString& name : names)
            QVERIFY2(tip(name).contains(name == u"Text16"_s ? turns : place),
                     qPrintable(tip(name)));
        typed.insert(u"Text9"_s, u"1e400"_s);
        start(kWorked, typed);
        QCOMPARE(m_messages.size(), 1);
        for (int i = 0; i < names.size(); ++i) QCOMPARE(tip(names[i]), before[i]);
    }

    // START after START: the carried elevation; the magnetic azimuths, taken away by a faulted run,
    // Text12's by one short of satellite 2; the declination in the plot, loaded afresh too; EXIT.
    void runsInTurn() {
        const QString before = tip(u"Text8"_s);
        m_window->setClock([] { return QDate(2025, 6, 1); });
        start(kWorked);
        QVERIFY(tip(u"Text8"_s).startsWith(u"Азимут по компасу (магнитный): 212.3°\n"_s));
        QVERIFY(tip(u"Text12"_s).startsWith(u"Азимут по компасу (магнитный): 203.2°\n"_s));
        const QString rotation = tip(u"POZIA"_s, m_window->plotWindow());
        QVERIFY(rotation.contains(u"5.1° восточное\n(модель WMM-2025, дата 01.06.2025)"_s));
        start(kWorked);  // the note replaces the last one
        QCOMPARE(tip(u"POZIA"_s, m_window->plotWindow()), rotation);
        m_window->plotWindow()->close();
        QTRY_VERIFY(!m_window->plotWindow());
        click(m_window, "NAPR");
        FLIN1* plot = m_window->plotWindow();
        QCOMPARE(tip(u"POZIA"_s, plot), rotation);
        QVERIFY(QTest::qWaitForWindowActive(plot));
        click(plot, "CMDEXIT");
        QVERIFY(QTest::qWaitForWindowActive(m_window) && plot->isVisible());

        // Satellite 2 at the site's longitude, then a run that stops after Text8.
        start({{"Text9", "35"}, {"Text10", "27.69"}});
        QCOMPARE(box(u"Text11"_s)->text(), u" 51.84218"_s);
        start({{"Text9", "1e400"}});
        for (const QString& name : {u"Text8"_s, u"Text12"_s}) QCOMPARE(tip(name), before);
        // A hair from the equator, where satellite 2 has no elevation: Text11 shows the one
        // carried from the last run that computed it.
        start({{"Text3", "1e-170"}, {"Text4", ""}, {"Text9", "35"}, {"Text11", "x"}});
        QCOMPARE(box(u"Text11"_s)->text(), u" 51.84218"_s);
        // Satellite 1 on the site's meridian too: no elevation, Text8 only.
        start({{"Text1", "13"}, {"Text2", ""}});
        QVERIFY(tip(u"Text8"_s).startsWith(u"Азимут по компасу (магнитный): 180.2°\n"_s));
        QCOMPARE(tip(u"Text12"_s), before);
    }
};

QTEST_MAIN(TestTorvel)
#include "tst_torvel.moc"
