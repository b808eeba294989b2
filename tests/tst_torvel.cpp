// SPDX-License-Identifier: GPL-3.0-or-later
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
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
#include "recentsites.h"
#include "searchpopup.h"
#include "startrun.h"
#include "torvel.h"

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif
#ifdef Q_OS_WIN
#include <windows.h>
// The system's ReplaceFile is a macro for ReplaceFileW; the program's own is meant here.
#undef ReplaceFile
#endif

using namespace Qt::StringLiterals;
using Boxes = QMap<QString, QString>;

namespace {

// The result boxes; the worked example's texts beyond those the window opens with.
const QStringList kOutputs = {"Text7", "Text8", "Text11", "Text12", "Text14", "Text15", "Text16"};
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
    QStringList texts(const QStringList& names, bool tips = false) const {
        QStringList shown;
        for (const QString& name : names) shown << (tips ? tip(name) : box(name)->text());
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
    void start(const Boxes& typed) {
        type(typed);
        click(m_window, "Gprog");
    }
    void refusal(const char* name, const Boxes& typed, const QString& box, const QString& says) {
        QTest::newRow(name) << typed << box << says;
    }
    // Types letter by letter, Cyrillic ones too (keyClicks takes Latin-1 only).
    static void typeKeys(QWidget* target, const QString& typed) {
        for (QChar c : typed) {
            QTest::sendKeyEvent(QTest::Press, target, Qt::Key_unknown, QString(c), Qt::NoModifier);
            QTest::sendKeyEvent(QTest::Release, target, Qt::Key_unknown, QString(c),
                                Qt::NoModifier);
        }
    }
    // Opens a search as the installer does, by its button or by Ctrl+F in a box, and types.
    SearchPopup* search(const QString& from, const QString& typed) {
        if (from.startsWith(u"Text"_s)) {
            box(from)->setFocus();
            QTest::keyClick(box(from), Qt::Key_F, Qt::ControlModifier);
        } else {
            click(m_window, from.toLatin1().constData());
        }
        SearchPopup* popup = m_window->searchPopup();
        if (!popup) return nullptr;
        typeKeys(popup->line(), typed);
        return popup;
    }
    void chooseJohannesburg() {  // and its satellites 20E and 36E
        choose(u"GOROD"_s, u"johannes"_s);
        choose(u"SPUTNIK1"_s, u"20E"_s);
        choose(u"SPUTNIK2"_s, u"36E"_s);
    }
    // Chooses the first row found: Enter in the search line.
    void choose(const QString& from, const QString& typed) {
        SearchPopup* popup = search(from, typed);
        QVERIFY(popup);
        QTest::keyClick(popup->line(), Qt::Key_Return);
        QTRY_VERIFY(!m_window->searchPopup() || !m_window->searchPopup()->isVisible());
    }

private slots:
    void initTestCase() { QApplication::setPalette(QPalette(Qt::black)); }  // white text
    void init() {
        Messages::setHandler([this](QWidget*, const QString& text) {
            m_messages << text;
            m_atMessage = texts(kOutputs);
        });
        m_messages.clear();
        (m_window = new TORVEL)->show();
        m_window->setDecimalSeparator(u',');  // the masked texts keep their '.' all the same
        if (AppDir()) QVERIFY(WriteDataFile(m_window->dataFile(), 200, 30, nullptr));
        QVERIFY(QTest::qWaitForWindowActive(m_window));
        // Text1 has the focus; Text16 shows its sign and angle in black whatever the colours.
        QCOMPARE(m_window->focusWidget(), box(u"Text1"_s));
        for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            QCOMPARE(box(u"Text16"_s)->palette().color(group, QPalette::Text), QColor(Qt::black));
    }
    void cleanup() { delete m_window; }

    void runs_data() {
        QTest::addColumn<Boxes>("typed");        // over the worked example
        QTest::addColumn<QStringList>("shown");  // the result boxes afterwards
        QTest::addColumn<QString>("message");    // the one message shown, if any
        const QStringList none(kOutputs.size());
        QTest::newRow("worked example")
            << Boxes()
            << QStringList{" 44.8168471212995", " 217.344291652777",   " 47.99485", " 208.2955",
                           " 24.9487мм-->НИЖЕ", " 70.7734мм-->СПРАВА", " + 23.5"}
            << QString();
        QTest::newRow("all three empty") << Boxes{{"Text5", ""}, {"Text9", ""}, {"Text13", ""}}
                                         << none << u"НЕТ КООРДИНАТ (1) "_s;
        QTest::newRow("Text9, Text13 empty")
            << Boxes{{"Text9", ""}, {"Text13", ""}} << none << u"НЕТ КООРДИНАТ (2)"_s;
        // South of the equator, pasted: an en dash, a full-width minus and digits, Arabic-Indic
        // digits after a right-to-left mark; the turned azimuth and the clockwise "+".
        QTest::newRow("Johannesburg, pasted")
            << Boxes{{"Text1", "28"},        {"Text2", "3"},   {"Text3", u"\u201326"_s},
                     {"Text4", u"－１２"_s}, {"Text5", "20"},  {"Text9", u"\u200f٣٦"_s},
                     {"Text10", ""},         {"Text13", "600"}}
            << QStringList{" 58.1014898775577", " 342.237790692367",  " 58.13272", " 17.55249",
                           " .329999мм-->НИЖЕ", " 346.841мм-->СЛЕВА", " + 15.7"}
            << QString();
        QTest::newRow("Text13 empty") << Boxes{{"Text13", ""}} << none << u"НЕТ ФОКУСА АНТЕНЫ"_s;
        // A hair from the equator: the method's azimuth divides by a sine too small to divide by.
        QTest::newRow("fault before Text8")
            << Boxes{{"Text3", "1e-310"}, {"Text4", ""}} << none
            << FaultMessage(u"одно из введённых чисел слишком велико для расчёта"_s);
    }
    void runs() {
        QFETCH(Boxes, typed);
        QFETCH(QStringList, shown);
        QFETCH(QString, message);
        const QString file = m_window->dataFile(), old = file + u".old"_s;
        const auto removeOld = qScopeGuard([&] { QFile::remove(old); });
        QVERIFY(hardLink(file, old));
        type(kWorked);
        start(typed);
        QCOMPARE(m_messages, message.isEmpty() ? QStringList() : QStringList{message});
        QCOMPARE(texts(kOutputs), shown);
        // A message comes only once every result of the run is in its box.
        if (!message.isEmpty()) QCOMPARE(m_atMessage, shown);
        for (const QString& name : kOutputs) QCOMPARE(box(name)->cursorPosition(), 0);
        const QString line = shown[1].trimmed() + u',' + shown[0].trimmed() + u"\r\n"_s;
        QCOMPARE(ReadRegularFile(file, 100).content,
                 message.isEmpty() ? line.toLatin1() : kOldFile);
        QCOMPARE(ReadRegularFile(old, 100).content, kOldFile);
        if (!message.isEmpty()) return;
        // The place in Text14's and Text15's tooltips, the turns in Text16's.
        const bool south = typed.contains(u"Text3"_s);
        const QString place =
            south ? u"между ними 18.4°.\nСпутник 2 дальше 10°"_s
                  : u"между ними 7.0°.\nВторой облучатель ставят по другую сторону от "
                    u"основного,\nот его центра: на 47.7 мм правее"_s;
        const QString turns =
            south ? u"основной — 15.9° против часовой стрелки;\nвторой — 14.5° против"_s
                  : u"основной — 30.8° по часовой стрелке;\nвторой — 30.2° по часовой"_s;
        for (const QString& name : {u"Text14"_s, u"Text15"_s, u"Text16"_s})
            QVERIFY2(tip(name).contains(name == u"Text16"_s ? turns : place),
                     qPrintable(tip(name)));
    }

    // Not one number, or no site's or dish's: one message, results and file kept, the box selected
    // (replay_runstart holds the limits, which are taken).
    void refused_data() {
        QTest::addColumn<Boxes>("typed");
        QTest::addColumn<QString>("refusedIn");
        QTest::addColumn<QString>("says");  // besides the box's name and its text
        // One of each kind: a hemisphere letter, a decimal comma, a degree sign, a unit.
        refusal("letter", {{"Text3", "26S"}, {"Text4", "12"}}, "Text3", "как 26");
        refusal("comma", {{"Text1", "35,4615"}}, "Text1", "как 35");
        refusal("sign", {{"Text5", "13°"}}, "Text5", "как 13");
        refusal("unit", {{"Text13", "450 мм"}}, "Text13", "как 450");
        refusal("degrees and minutes as one", {{"Text3", "4043"}, {"Text4", ""}}, "Text3",
                "как 4043°");
        refusal("minutes past the pole", {{"Text3", "90"}, {"Text4", "30"}}, "Text4", "как 90.5");
        refusal("focal length 0", {{"Text13", "0"}}, "Text13", "как 0 мм");
        refusal("focal length 1e6", {{"Text13", "1e6"}}, "Text13", "как 1000000 мм");
        // The slips of whole numbers (issue 20).
        refusal("minutes 485", {{"Text4", "485"}}, "Text4", "имелось в виду «48.5»");
        refusal("degrees and minutes in one box", {{"Text1", "35 27.69"}, {"Text2", ""}}, "Text1",
                "как одно число 3527.69");
        refusal("west with plus minutes", {{"Text5", "-74"}, {"Text6", "30"}}, "Text6",
                "«-74» и «-30»");
        refusal("south of 0 degrees", {{"Text3", "-0"}, {"Text4", "30"}}, "Text4", "в 0.5°");
        refusal("site longitude blank", {{"Text1", " "}}, "Text1", "нулевом меридиане");
        refusal("huge longitude", {{"Text9", "1e308"}}, "Text9", "такую долготу");
    }
    void refused() {
        QFETCH(Boxes, typed);
        QFETCH(QString, refusedIn);
        QFETCH(QString, says);
        start(kWorked);
        type(typed);
        const QStringList before = texts(kOutputs) + texts(kOutputs, true);
        click(m_window, "Gprog");
        QCOMPARE(m_messages.size(), 1);
        QLineEdit* edit = box(refusedIn);
        for (const QString& part :
             {u'«' + edit->accessibleName() + u'»', u'«' + edit->text() + u'»', says}) {
            if (part == u"« »"_s) continue;  // blanks are said in words
            QVERIFY2(m_messages[0].contains(part), qPrintable(m_messages[0] + u"\n-- "_s + part));
        }
        QCOMPARE(texts(kOutputs) + texts(kOutputs, true), before);
        QCOMPARE(ReadRegularFile(m_window->dataFile(), 100).content, kWorkedLine);
        QCOMPARE(m_window->focusWidget(), edit);
        QCOMPARE(edit->selectedText(), edit->text());
    }

    // One site written three ways: one rotation sign, that of the exact turns in the tooltip.
    void siteWrittenAnyWay_data() {
        QTest::addColumn<QString>("longitude");
        for (const char* longitude : {"-2", "358", "-362"}) QTest::newRow(longitude) << longitude;
    }
    void siteWrittenAnyWay() {
        QFETCH(QString, longitude);
        type(kWorked);
        const Boxes site{{"Text1", longitude}, {"Text2", ""},   {"Text3", "52"},  {"Text4", ""},
                         {"Text5", "28"},      {"Text6", "12"}, {"Text13", "600"}};
        start(site);
        QCOMPARE(m_messages, QStringList());
        QCOMPARE(box(u"Text16"_s)->text(), u" - 15.8"_s);
        QVERIFY2(tip(u"Text16"_s).contains(u"второй — 20.4° против часовой стрелки"_s),
                 qPrintable(tip(u"Text16"_s)));
    }

    // Satellite 1 under the horizon: its figures and file all the same, and one message; its ALFA
    // tooltip and the plot say it cannot be received.
    void belowHorizon() {
        type(kWorked);
        start({{"Text5", "-150"}});
        const QString below = BelowHorizonText(1, -60.99);
        QCOMPARE(m_messages,
                 QStringList{below + u"\nРезультаты расчёта показаны так, как они рассчитаны."_s});
        QCOMPARE(box(u"Text7"_s)->text(), u"-60.9874190356446"_s);
        QCOMPARE(tip(u"Text8"_s), below);
        QVERIFY(tip(u"Text12"_s).startsWith(u"Азимут по компасу (магнитный)"_s));
        QCOMPARE(ReadRegularFile(m_window->dataFile(), 100).content,
                 "190.007333672189,-60.9874190356446\r\n");
        click(m_window, "NAPR");
        click(m_window->plotWindow(), "START");
        QCOMPARE(m_messages.size(), 2);
        QVERIFY2(m_messages[1].startsWith(below), qPrintable(m_messages[1]));
    }

    // Run from a folder whose name is not UTF-8: every START, the plot and the viewer say so.
    void unusableProgramFolder() {
#ifndef Q_OS_UNIX
        QSKIP("Windows names folders in UTF-16, which holds every name");
#else
        if (qEnvironmentVariableIsSet("TORVEL_TEST_UNUSABLE_FOLDER")) {
            start(kWorked);
            start(kWorked);
            click(m_window, "NAPR");
            click(m_window->plotWindow(), "START");
            click(m_window->viewerWindow(), "RISYNOK");
            QCOMPARE(m_messages, QStringList(4, UnusableAppDirMessage()));
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

    // A data file kept away from the program folder is named once in the run; the plot reads it.
    void placeElsewhere() {
        QTemporaryDir dir;
        const DataFilePlace place{
            dir.filePath(u"user/rlin1.txt"_s), {}, dir.filePath(u"rlin1.txt"_s), u"где"_s};
        delete m_window;
        (m_window = new TORVEL(place))->show();
        start(kWorked);
        start(kWorked);
        click(m_window, "NAPR");
        click(m_window->plotWindow(), "START");
        QCOMPARE(m_messages, QStringList{u"где"_s});
        QCOMPARE(ReadRegularFile(place.path, 100).content, kWorkedLine);
    }

    // Typing in Text5 or Text7 unlocks the viewer and the plot; an open viewer keeps its picture.
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

    // ЛИСТ after a completed START, Ctrl+S for the same: the page lands whole in the folder
    // chosen, or a message says why not and the folder stays empty.
    void sheet_data() {
        QTest::addColumn<QString>("folder");  // writable, read-only, full
        QTest::newRow("writable folder") << u"writable"_s;
#ifdef Q_OS_LINUX
        QTest::newRow("read-only folder") << u"read-only"_s;
        QTest::newRow("full disk") << u"full"_s;
#endif
    }
    void sheet() {
        QFETCH(QString, folder);
        QTemporaryDir dir;
        const QString target = dir.filePath(u"sheets"_s);
        QVERIFY(QDir().mkpath(target));
#ifdef Q_OS_LINUX
        // Root writes into any folder whatever its permissions: a file system of its own, read-only
        // or too small for the page.
        auto mount = [&](const QString& options) {
            if (QProcess::execute(u"mount"_s,
                                  {u"-t"_s, u"tmpfs"_s, u"-o"_s, options, u"tmpfs"_s, target}) != 0)
                QSKIP("no tmpfs can be mounted here");
        };
        const auto unmount = qScopeGuard([&] {
            if (folder != u"writable"_s) QProcess::execute(u"umount"_s, {target});
        });
        if (folder == u"read-only"_s) {
            if (geteuid() == 0)
                mount(u"ro,size=1m"_s);
            else
                QVERIFY(QFile::setPermissions(target, QFile::ReadOwner | QFile::ExeOwner));
        } else if (folder == u"full"_s) {
            if (geteuid() != 0) QSKIP("mounting a small tmpfs needs root");
            mount(u"size=16k"_s);
        }
#endif
        QStringList suggested;
        m_window->setSheetPathAsker([&](QWidget*, const QString& name) {
            suggested << name;
            return QDir(target).filePath(QFileInfo(name).completeBaseName());
        });
        m_window->setNow([] { return QDateTime(QDate(2026, 12, 7), QTime(16, 40)); });
        auto* list = m_window->findChild<QPushButton*>(u"LIST"_s);
        QVERIFY(!list->isEnabled());
        start(kWorked);
        QVERIFY(list->isEnabled());
        QTest::keyClick(m_window, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(suggested.size(), 1);
        const QString path = QDir(target).filePath(QFileInfo(suggested[0]).fileName());
        QCOMPARE(QFileInfo(path).fileName(), u"RASCHET 2026-12-07 32.81N 35.46E 13E 19.2E.pdf"_s);
        const QStringList left = QDir(target).entryList(QDir::Files | QDir::Hidden);
        if (folder == u"writable"_s) {
            QCOMPARE(m_messages, QStringList());
            QCOMPARE(left, QStringList{QFileInfo(path).fileName()});
            QFile page(path);
            QVERIFY(page.open(QIODevice::ReadOnly));
            QVERIFY(page.readAll().startsWith("%PDF"));
            QVERIFY(list->toolTip().endsWith(QDir::toNativeSeparators(path)));
        } else {
            QCOMPARE(m_messages.size(), 1);
            QVERIFY2(m_messages[0].startsWith(u"Лист установки не сохранён в "_s +
                                              QDir::toNativeSeparators(path) + u": "_s),
                     qPrintable(m_messages[0]));
            QCOMPARE(left, QStringList());
            QCOMPARE(list->toolTip(), u"Сохранить лист установки (PDF)"_s);
        }
        // A changed input takes the sheet away: no longer this START's.
        type({{"Text13", "451"}});
        QVERIFY(!list->isEnabled());
        click(m_window, "LIST");
        QTest::keyClick(m_window, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(suggested.size(), 1);
    }

    // START after START: tooltips and the plot's note replaced or reset; satellite 2's elevation.
    void runsInTurn() {
        const QStringList layoutTips = texts(kOutputs, true);
        m_window->setClock([] { return QDate(2025, 6, 1); });
        start(kWorked);
        QVERIFY(tip(u"Text8"_s).startsWith(u"Азимут по компасу (магнитный): 212.3°\n"_s));
        QVERIFY(tip(u"Text12"_s).startsWith(u"Азимут по компасу (магнитный): 203.2°\n"_s));
        const QString rotation = tip(u"POZIA"_s, m_window->plotWindow());
        QVERIFY(rotation.contains(u"5.1° восточное\n(модель WMM-2025, дата 01.06.2025)"_s));
        start(kWorked);
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
        start({{"Text3", "1e-310"}, {"Text4", ""}});
        QCOMPARE(texts(kOutputs, true), layoutTips);
        // A hair from the equator satellite 2 has no elevation: Text11 keeps the last one computed.
        start({{"Text3", "1e-170"}, {"Text9", "35"}, {"Text11", "x"}});
        QCOMPARE(box(u"Text11"_s)->text(), u" 51.84218"_s);
        // Satellite 1 on the site's meridian too: no elevation, Text8 only.
        start({{"Text1", "13"}, {"Text2", ""}});
        QVERIFY(tip(u"Text8"_s).startsWith(u"Азимут по компасу (магнитный): 180.2°\n"_s));
        QCOMPARE(tip(u"Text12"_s), layoutTips[kOutputs.indexOf(u"Text12"_s)]);
    }

    // A town or a satellite found by name fills its boxes, in degrees and minutes with the
    // minutes' own sign; Escape changes nothing.
    void byName_data() {
        QTest::addColumn<QString>("from");  // a button, or the box Ctrl+F is pressed in
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("chosen");  // Enter, or Escape
        QTest::addColumn<Boxes>("filled");
        QTest::addColumn<QString>("named");  // the town, or the satellite's names
        const auto row = [](const char* name, const QString& from, const QString& typed,
                            bool chosen, const Boxes& filled, const QString& named) {
            QTest::newRow(name) << from << typed << chosen << filled << named;
        };
        row("Russian name", u"GOROD"_s, u"новосиб"_s, true,
            {{"Text1", "82"}, {"Text2", "56.08"}, {"Text3", "55"}, {"Text4", "2.49"}},
            u"Новосибирск"_s);
        row("Latin name, south, Ctrl+F in a site box", u"Text3"_s, u"johannes"_s, true,
            {{"Text1", "28"}, {"Text2", "2.62"}, {"Text3", "-26"}, {"Text4", "-12.14"}},
            u"Йоханнесбург"_s);
        row("south and west", u"GOROD"_s, u"buenos aires"_s, true,
            {{"Text1", "-58"}, {"Text2", "-22.63"}, {"Text3", "-34"}, {"Text4", "-36.79"}},
            u"Буэнос-Айрес"_s);
        row("west, Ctrl+F on a result box", u"Text12"_s, u"New York"_s, true,
            {{"Text1", "-74"}, {"Text2", "-0.36"}, {"Text3", "40"}, {"Text4", "42.86"}},
            u"Нью-Йорк"_s);
        row("Escape", u"GOROD"_s, u"johannes"_s, false,
            {{"Text1", "35"}, {"Text2", "27.69"}, {"Text3", "32"}, {"Text4", "48.5"}}, QString());
        row("satellite 1 by name", u"SPUTNIK1"_s, u"Hotbird"_s, true,
            {{"Text5", "13"}, {"Text6", "0"}}, u"Hotbird, Hotbird-13B, Hotbird-13C, Hotbird-13E"_s);
        row("satellite 2 by position, Ctrl+F in its minutes", u"Text10"_s, u"36"_s, true,
            {{"Text9", "35"}, {"Text10", "54"}}, u"Eutelsat-36B"_s);
        row("satellite 2 west, Ctrl+F in its degrees", u"Text9"_s, u"4W"_s, true,
            {{"Text9", "-4"}, {"Text10", "0"}}, u"Amos, Amos-3"_s);
        row("satellite Escape", u"SPUTNIK2"_s, u"Hotbird"_s, false, {{"Text9", ""}, {"Text10", ""}},
            QString());
    }
    void byName() {
        QFETCH(QString, from);
        QFETCH(QString, typed);
        QFETCH(bool, chosen);
        QFETCH(Boxes, filled);
        QFETCH(QString, named);
        SearchPopup* popup = search(from, typed);
        QVERIFY(popup && popup->isVisible());
        QVERIFY(popup->list()->count() > 0);
        QTest::keyClick(popup->line(), chosen ? Qt::Key_Return : Qt::Key_Escape);
        QTRY_VERIFY(!m_window->searchPopup() || !m_window->searchPopup()->isVisible());
        for (auto it = filled.begin(); it != filled.end(); ++it)
            QCOMPARE(box(it.key())->text(), it.value());
        const int which = filled.contains(u"Text5"_s) ? 1 : filled.contains(u"Text9"_s) ? 2 : 0;
        QCOMPARE(
            which ? m_window->satelliteNames(which).join(u", "_s) : m_window->currentTown().name,
            named);
        QCOMPARE(m_window->editState(), qint16(which == 1 && chosen ? 1 : 0));
    }

    // The town is kept until a site box is edited by hand, a satellite until its own boxes are.
    void keptUntilEdited() {
        chooseJohannesburg();
        const SiteChoice town = m_window->currentTown();
        QVERIFY(town.chosen);
        QCOMPARE(town.region, u"Гаутенг"_s);
        QCOMPARE(town.country, u"Южно-Африканская Республика"_s);
        QCOMPARE(town.latitude, -26.20227);
        QVERIFY(m_window->findChild<QLabel*>(u"T3"_s)->toolTip().contains(u"Йоханнесбург"_s));
        QTest::keyClicks(box(u"Text9"_s), u"1"_s);
        QVERIFY(m_window->currentTown().chosen && !m_window->satelliteNames(1).isEmpty());
        QVERIFY(m_window->satelliteNames(2).isEmpty());
        QTest::keyClick(box(u"Text4"_s), Qt::Key_Backspace);
        QVERIFY(!m_window->currentTown().chosen);
        QCOMPARE(m_window->findChild<QLabel*>(u"T3"_s)->toolTip(), QString());
        QCOMPARE(m_window->satelliteNames(1), QStringList{u"Arabsat-5C"_s});
    }

    // Satellites under the site's horizon are greyed and say so.
    void satellitesBelowHorizonGreyed() {
        SearchPopup* popup = search(u"SPUTNIK2"_s, u"97W"_s);
        QVERIFY(popup);
        QListWidgetItem* row = popup->list()->item(0);
        QVERIFY2(row->text().endsWith(u" — ниже горизонта"_s), qPrintable(row->text()));
        QCOMPARE(row->foreground().color(),
                 popup->palette().color(QPalette::Disabled, QPalette::Text));
        QTest::keyClick(popup->line(), Qt::Key_Escape);
    }

    // Johannesburg and its two satellites by name and position give the README's row; the site
    // is offered first in the town search after a restart, and a damaged list is none.
    void johannesburgByName() {
        chooseJohannesburg();
        start({{"Text13", "600"}});
        QVERIFY(m_messages.isEmpty());
        QVERIFY(qAbs(box(u"Text8"_s)->text().toDouble() - 342.237790692367) < 0.02);
        QVERIFY(qAbs(box(u"Text7"_s)->text().toDouble() - 58.1014898775577) < 0.02);
        QCOMPARE(box(u"Text6"_s)->text(), u"0"_s);

        delete m_window;
        (m_window = new TORVEL)->show();
        SearchPopup* popup = search(u"GOROD"_s, QString());
        QVERIFY(popup && popup->list()->count() > 0);
        QVERIFY(popup->list()->item(0)->text().startsWith(u"Йоханнесбург — Гаутенг"_s));
        QTest::keyClick(popup->line(), Qt::Key_Return);
        QCOMPARE(texts({u"Text1"_s, u"Text2"_s, u"Text3"_s, u"Text4"_s}),
                 (QStringList{u"28"_s, u"2.62"_s, u"-26"_s, u"-12.14"_s}));
        QCOMPARE(m_window->currentTown().name, u"Йоханнесбург"_s);

        const QString recent = RecentSitesPath(m_window->dataFile());
        QVERIFY(ReplaceFile(recent, "\x89PNG\r\n").replaced);
        delete m_window;
        (m_window = new TORVEL)->show();
        popup = search(u"GOROD"_s, QString());
        QCOMPARE(popup->list()->count(), 0);
        typeKeys(popup->line(), u"johannes"_s);
        QVERIFY(popup->list()->count() > 0);
    }
};

QTEST_MAIN(TestTorvel)
#include "tst_torvel.moc"
