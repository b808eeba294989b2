#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include "appdir.h"
#include "canvas.h"
#include "datafile.h"
#include "flin1.h"
#include "fris123.h"
#include "geomag.h"
#include "messages.h"
#include "torvel.h"

using namespace Qt::StringLiterals;
using Boxes = QMap<QString, QString>;

namespace {

const QStringList kOutputs = {"Text7", "Text8", "Text11", "Text12", "Text14", "Text15", "Text16"};
const QByteArray kOldFile = "200,30\r\n", kWorkedLine = "217.344291652777,44.8168471212995\r\n";
const Boxes kWorked = {{"Text5", "13"}, {"Text9", "19"}, {"Text10", "12"}, {"Text13", "450"}};
const Boxes kWorkedOutputs = {{"Text8", " 217.344291652777"},
                              {"Text16", " + 23.5"},
                              {"Text12", " 208.2955"},
                              {"Text14", " 24.9487мм-->НИЖЕ"},
                              {"Text15", " 70.7734мм-->СПРАВА"},
                              {"Text7", " 44.8168471212995"},
                              {"Text11", " 47.99485"}};
const QString kFault = u"Расчёт остановлен"_s;
const Boxes kJohannesburg = {{"Text1", "28"}, {"Text2", "3"},  {"Text3", "-26"}, {"Text4", "-12"},
                             {"Text5", "20"}, {"Text9", "36"}, {"Text13", "600"}};
// The ALFA boxes' tooltip before a START completes.
const QString kAzimuthTipBefore =
    u"Азимут по компасу (магнитный) появится в этой подсказке\nпосле расчёта (START)."_s;

Boxes with(Boxes boxes, const Boxes& changes) {
    for (auto it = changes.begin(); it != changes.end(); ++it) boxes[it.key()] = it.value();
    return boxes;
}

void click(QWidget* window, const char* button) {
    QTest::mouseClick(window->findChild<QPushButton*>(QLatin1String(button)), Qt::LeftButton);
}

// Whether the viewer shows that picture from the program directory (none: empty).
bool showing(FRIS123* viewer, const char* file = "") {
    const QImage shown = viewer->findChild<QLabel*>(u"Picture1"_s)->pixmap().toImage();
    return shown == QImage(file[0] ? AppFilePath(*AppDir(), QLatin1String(file)) : QString());
}

QByteArray content(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class TestTorvel : public QObject {
    Q_OBJECT
    TORVEL* m_window = nullptr;
    QStringList m_messages;
    Boxes m_boxesAtMessage;  // the result boxes as they were when the last message was shown

    QLineEdit* box(const QString& name) const { return m_window->findChild<QLineEdit*>(name); }
    Boxes outputs() const {
        Boxes shown;
        for (const QString& name : kOutputs) shown[name] = box(name)->text();
        return shown;
    }
    // Types into the boxes as a user does: select all, then the keys; text beyond Latin-1, which
    // keys do not carry, is pasted.
    void type(const Boxes& typed) {
        for (auto it = typed.begin(); it != typed.end(); ++it) {
            QLineEdit* target = box(it.key());
            QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier);
            if (it.value().toLatin1() == it.value().toUtf8()) {
                QTest::keyClicks(target, u"\b"_s + it.value());
                continue;
            }
            QGuiApplication::clipboard()->setText(it.value());
            QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier);
        }
    }

private slots:
    void init() {
        Messages::setHandler([this](QWidget*, const QString& text) {
            m_messages << text;
            m_boxesAtMessage = outputs();
        });
        m_messages.clear();
        (m_window = new TORVEL)->show();
        // Without a usable program folder (unusableProgramFolder) there is no file to prepare.
        if (AppDir()) QVERIFY(WriteDataFile(m_window->dataFile(), 200, 30, nullptr));
        QVERIFY(QTest::qWaitForWindowActive(m_window));
    }
    void cleanup() {
        delete m_window;
        if (const auto dir = AppDir()) QDir().rmdir(AppFilePath(*dir, kDataFileName));
    }

    // The data file lives beside the program when it is started from its build folder.
    void dataFileBesideTheProgram() {
        QCOMPARE(m_window->dataFile(), AppFilePath(*AppDir(), kDataFileName));
    }

    void runs_data() {
        QTest::addColumn<QChar>("separator");  // the regional decimal separator
        QTest::addColumn<Boxes>("typed");
        QTest::addColumn<Boxes>("shown");      // the result boxes afterwards; the others stay empty
        QTest::addColumn<QString>("message");  // the start of the one message shown, if any
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("worked example")
            << QChar('.') << kWorked << kWorkedOutputs << QString() << kWorkedLine;
        QTest::newRow("worked example, comma separator")
            << QChar(',') << kWorked << kWorkedOutputs << QString() << kWorkedLine;
        QTest::newRow("nothing typed")
            << QChar('.') << Boxes() << Boxes() << u"НЕТ КООРДИНАТ (1) "_s << kOldFile;
        QTest::newRow("satellite 2 missing") << QChar('.') << Boxes{{"Text5", "13"}} << Boxes()
                                             << u"НЕТ КООРДИНАТ (2)"_s << kOldFile;
        QTest::newRow("focal length missing")
            << QChar('.') << Boxes{{"Text5", "13"}, {"Text9", "19"}} << Boxes()
            << u"НЕТ ФОКУСА АНТЕНЫ"_s << kOldFile;
        QTest::newRow("latitude 0") << QChar('.') << with(kWorked, {{"Text3", "0"}, {"Text4", "0"}})
                                    << Boxes() << kFault << kOldFile;
        // Stops after the first output: it keeps its new text, the later ones their old texts.
        QTest::newRow("satellite 2 degrees 1e400")
            << QChar(',') << with(kWorked, {{"Text9", "1e400"}})
            << Boxes{{"Text8", " 217.344291652777"}} << kFault << kOldFile;
        QTest::newRow("satellite 2 equal to satellite 1")
            << QChar('.') << with(kWorked, {{"Text9", "13"}, {"Text10", ""}})
            << with(kWorkedOutputs, {{"Text16", " + 30.7"},
                                     {"Text12", " 217.3443"},
                                     {"Text11", " 44.81685"},
                                     {"Text14", " 0мм-->ВЫШЕ"},
                                     {"Text15", " 0мм-->СПРАВА"}})
            << QString() << kWorkedLine;
        const Boxes atSite = with(kWorkedOutputs, {{"Text16", " 0"},
                                                   {"Text12", " 180"},
                                                   {"Text11", " 51.84218"},
                                                   {"Text14", " 55.0408мм-->НИЖЕ"},
                                                   {"Text15", " 272.971мм-->СПРАВА"}});
        for (const QString& degrees : {u"35"_s, u"٣٥"_s, u"\u200f35"_s})  // pasted from a phone too
            QTest::addRow("satellite 2 at the site's longitude, %s", qPrintable(degrees))
                << QChar(',') << with(kWorked, {{"Text9", degrees}, {"Text10", "27.69"}}) << atSite
                << QString() << kWorkedLine;
    }
    void runs() {
        QFETCH(QChar, separator);
        QFETCH(Boxes, typed);
        QFETCH(Boxes, shown);
        QFETCH(QString, message);
        QFETCH(QByteArray, file);
        m_window->setDecimalSeparator(separator);
        type(typed);
        click(m_window, "Gprog");
        QCOMPARE(m_messages.size(), message.isEmpty() ? 0 : 1);
        if (!message.isEmpty())
            QVERIFY2(m_messages[0].startsWith(message), qPrintable(m_messages[0]));
        const Boxes expected = with(Boxes{{"Text7", ""},
                                          {"Text8", ""},
                                          {"Text11", ""},
                                          {"Text12", ""},
                                          {"Text14", ""},
                                          {"Text15", ""},
                                          {"Text16", ""}},
                                    shown);
        QCOMPARE(outputs(), expected);
        // A message comes only once every result of the run is in its box.
        if (!message.isEmpty()) QCOMPARE(m_boxesAtMessage, expected);
        // Each box shows the beginning of its new text.
        for (const QString& name : shown.keys()) QCOMPARE(box(name)->cursorPosition(), 0);
        QCOMPARE(content(m_window->dataFile()), file);
    }

    // Satellite 2's elevation stays as a run computed it, even when that run stopped later; a
    // run that cannot compute it (a site a hair from the equator, satellite 2 at its longitude)
    // shows the carried one.
    void carriedElevation() {
        type(with(kWorked, {{"Text13", "1e400"}}));
        click(m_window, "Gprog");
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(box(u"Text11"_s)->text(), QString());
        type({{"Text3", "1e-170"},
              {"Text4", ""},
              {"Text9", "35"},
              {"Text10", "27.69"},
              {"Text13", "450"}});
        click(m_window, "Gprog");
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(box(u"Text11"_s)->text(), u" 47.99485"_s);
        QCOMPARE(box(u"Text14"_s)->text(), QString());
    }

    // The file is replaced whole, never rewritten in place: a second name for the old file keeps
    // the old line. A file that cannot be replaced is named in a message; the results stay.
    void dataFileReplaced() {
        const QString path = m_window->dataFile(), other = path + u".old"_s;
        QFile::remove(other);
        QVERIFY(::link(QFile::encodeName(path).constData(), QFile::encodeName(other).constData()) ==
                0);
        type(kWorked);
        click(m_window, "Gprog");
        QCOMPARE(content(path), kWorkedLine);
        QCOMPARE(content(other), kOldFile);
        QVERIFY(QFile::remove(other));

        // A folder in its place is refused, and there are no old results to keep.
        QVERIFY(QFile::remove(path) && QDir().mkdir(path));
        click(m_window, "Gprog");
        QCOMPARE(m_messages.size(), 1);
        QVERIFY2(m_messages[0].contains(path) && !m_messages[0].contains(u"прежнего"_s),
                 qPrintable(m_messages[0]));
        QCOMPARE(outputs(), kWorkedOutputs);
    }

    // Started from a folder whose name is not UTF-8, the program computes as always but reads
    // and writes no file: START, the plot and the viewer each say why, once. The test runs a copy
    // of itself from such a folder, through a link, so that the copy finds its folder as the
    // program does.
    void unusableProgramFolder() {
        if (qEnvironmentVariableIsSet("TORVEL_TEST_UNUSABLE_FOLDER")) {
            QVERIFY(!AppDir());
            QCOMPARE(m_window->dataFile(), QString());
            type(kWorked);
            click(m_window, "Gprog");
            QCOMPARE(outputs(), kWorkedOutputs);
            click(m_window, "NAPR");
            click(m_window->plotWindow(), "START");
            click(m_window->viewerWindow(), "RISYNOK");
            QCOMPARE(m_window->viewerWindow()->figureIndex(), 0);
            QCOMPARE(m_messages, QStringList(3, UnusableAppDirMessage()));
            return;
        }
#ifndef Q_OS_LINUX
        QSKIP("the copy finds its folder through /proc/self/exe");
#endif
        QTemporaryDir dir;
        const QByteArray folder = QFile::encodeName(dir.path()) + "/\xff\xfe";
        const QByteArray copy = folder + "/tst_torvel";
        if (::mkdir(folder.constData(), 0755) != 0 && errno == EILSEQ)
            QSKIP("this file system takes only UTF-8 names");
        QVERIFY(QFileInfo::exists(dir.path()) && ::access(folder.constData(), F_OK) == 0);
        // The temporary folder cannot remove what it cannot name as text.
        const auto removeFolder = qScopeGuard([&] {
            ::unlink(copy.constData());
            ::rmdir(folder.constData());
        });
        QFile self(QCoreApplication::applicationFilePath());
        QVERIFY(self.open(QIODevice::ReadOnly));
        const QByteArray program = self.readAll();
        const int fd = ::open(copy.constData(), O_WRONLY | O_CREAT | O_EXCL, 0755);
        QVERIFY(fd >= 0);
        const bool copied =
            ::write(fd, program.constData(), size_t(program.size())) == program.size();
        QVERIFY(::close(fd) == 0 && copied);
        const QString link = dir.filePath(u"tst_torvel"_s);
        QVERIFY(::symlink(copy.constData(), QFile::encodeName(link).constData()) == 0);
        const bool rootFile = QFileInfo::exists(u"/rlin1.txt"_s);

        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"TORVEL_TEST_UNUSABLE_FOLDER"_s, u"1"_s);
        child.setProcessEnvironment(environment);
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(link, {u"unusableProgramFolder"_s});
        const bool finished = child.waitForFinished(60000);
        if (!finished) child.kill();
        const QByteArray output = child.readAll();
        QVERIFY2(finished && child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0,
                 output.constData());
        QVERIFY2(output.contains("PASS   : TestTorvel::unusableProgramFolder()"),
                 output.constData());

        // Nothing was written: the folder holds the copy alone, the root no data file.
        QStringList names;
        DIR* listing = ::opendir(folder.constData());
        QVERIFY(listing);
        while (const dirent* entry = ::readdir(listing)) names << QString::fromUtf8(entry->d_name);
        ::closedir(listing);
        names.sort();
        QCOMPARE(names, QStringList({u"."_s, u".."_s, u"tst_torvel"_s}));
        QCOMPARE(QFileInfo::exists(u"/rlin1.txt"_s), rootFile);
    }

    // Text16 shows its sign and angle in black whatever the colour scheme.
    void rotationInBlack() {
        QPalette dark = m_window->palette();
        dark.setColor(QPalette::Text, Qt::white);
        dark.setColor(QPalette::Base, Qt::darkBlue);
        QApplication::setPalette(dark);
        for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            QCOMPARE(box(u"Text16"_s)->palette().color(group, QPalette::Text), QColor(Qt::black));
        QApplication::setPalette(QPalette());
    }

    // Only a state other than 0 lets the buttons open their windows.
    void editState_data() {
        QTest::addColumn<QString>("boxName");
        QTest::addColumn<int>("state");
        QTest::newRow("typing in Text6") << u"Text6"_s << 0;
        QTest::newRow("typing in Text5") << u"Text5"_s << 1;
        QTest::newRow("typing in Text7") << u"Text7"_s << 2;
    }
    void editState() {
        QFETCH(QString, boxName);
        QFETCH(int, state);
        QTest::keyClicks(box(boxName), u"4"_s);
        QCOMPARE(m_window->editState(), state);
        delete m_window->viewerWindow();
        click(m_window, "RISYNOK");
        QCOMPARE(m_window->viewerWindow() && m_window->viewerWindow()->isVisible(), state != 0);
        click(m_window, "NAPR");
        QCOMPARE(m_window->plotWindow()->isVisible(), state != 0);
    }

    // The plot opened from here draws satellite 1's direction from the file START wrote; its
    // EXIT brings the main window forward and leaves the plot open.
    void plotFromMainWindow() {
        type(kWorked);
        click(m_window, "Gprog");
        click(m_window, "NAPR");
        FLIN1* plot = m_window->plotWindow();
        click(plot, "START");
        QVERIFY(plot->lastPress().operations().contains(
            DrawOp::line({2581, 3042}, {3459, 174}, QColor(0, 255, 255))));
        QVERIFY(QTest::qWaitForWindowActive(plot));
        click(plot, "CMDEXIT");
        QVERIFY(QTest::qWaitForWindowActive(m_window) && plot->isVisible());
    }

    // After START the ALFA boxes' tooltips give the magnetic azimuth of the azimuth each box
    // shows, by the model on the window's date; the plot's rotation box gives the site's
    // declination, in a plot already open and in one loaded afresh.
    void compassTips_data() {
        QTest::addColumn<QDate>("today");
        QTest::addColumn<Boxes>("typed");
        QTest::addColumn<double>("latitude");  // the typed site in degrees, for the model
        QTest::addColumn<double>("longitude");
        QTest::addColumn<bool>("covered");
        QTest::newRow("worked example")
            << QDate(2026, 12, 7) << kWorked << 32 + 48.5 / 60 << 35 + 27.69 / 60 << true;
        QTest::newRow("Johannesburg")
            << QDate(2026, 12, 7) << kJohannesburg << -26.2 << 28.05 << true;
        QTest::newRow("after the model's years")
            << QDate(2030, 1, 1) << kWorked << 32 + 48.5 / 60 << 35 + 27.69 / 60 << false;
    }
    void compassTips() {
        QFETCH(QDate, today);
        QFETCH(Boxes, typed);
        QFETCH(double, latitude);
        QFETCH(double, longitude);
        QFETCH(bool, covered);
        m_window->setClock([today] { return today; });
        type(typed);
        click(m_window, "NAPR");
        auto rotationTip = [this] {
            return m_window->plotWindow()->findChild<QLineEdit*>(u"POZIA"_s)->toolTip();
        };
        const QString plainRotationTip = rotationTip();
        for (const char* name : {"Text8", "Text12"})
            QCOMPARE(box(QLatin1String(name))->toolTip(), kAzimuthTipBefore);
        QVERIFY(!plainRotationTip.contains(u"Склонение"_s));

        click(m_window, "Gprog");
        QCOMPARE(m_messages, QStringList());
        const QString date = today.toString(u"dd.MM.yyyy"_s);
        const double d =
            covered ? *MagneticDeclination(*Wmm2025(), latitude, longitude, 0, DecimalYear(today))
                    : 0;
        const QString declination =
            QString::number(std::fabs(d), 'f', 1) + (d > 0 ? u"° восточное"_s : u"° западное"_s);
        for (const char* name : {"Text8", "Text12"}) {
            const double magnetic =
                std::fmod(box(QLatin1String(name))->text().toDouble() - d + 360, 360);
            const QString tip = box(QLatin1String(name))->toolTip();
            QVERIFY2(tip.startsWith(covered ? u"Азимут по компасу (магнитный): "_s +
                                                  QString::number(magnetic, 'f', 1) + u"°\n"_s
                                            : u"Модель WMM-2025 не рассчитана на дату "_s + date),
                     qPrintable(tip));
            QCOMPARE(tip.contains(declination + u"\n(модель WMM-2025, дата "_s + date + u")"_s),
                     covered);
        }

        // The plot open during START and a plot loaded afresh both give the declination.
        const QString tip = rotationTip();
        QVERIFY2(tip.startsWith(plainRotationTip + u"\n\n"_s), qPrintable(tip));
        QVERIFY2(tip.contains(covered ? u"Склонение места последнего расчёта: "_s + declination
                                      : u"не рассчитана на дату "_s + date),
                 qPrintable(tip));
        QCOMPARE(tip.contains(u"Введите "_s + QString::number(d, 'f', 1) + u" — "_s), covered);
        m_window->plotWindow()->close();
        QTRY_VERIFY(!m_window->plotWindow());
        click(m_window, "NAPR");
        QCOMPARE(rotationTip(), tip);
    }

    // A completed run that stops short of satellite 2 leaves Text12 without a magnetic azimuth;
    // a run that stops takes both away, since its boxes no longer show one run's results. The
    // plot keeps the declination of the last completed run.
    void compassTipsAfterShortRuns() {
        m_window->setClock([] { return QDate(2026, 12, 7); });
        type(kWorked);
        click(m_window, "Gprog");
        QVERIFY(box(u"Text12"_s)->toolTip().startsWith(u"Азимут по компасу (магнитный): "_s));
        // Satellite 1 on the site's meridian a hair from the equator: no elevation, Text8 only.
        type({{"Text1", "13"}, {"Text2", ""}, {"Text3", "1e-170"}, {"Text4", ""}});
        click(m_window, "Gprog");
        QCOMPARE(box(u"Text8"_s)->text(), u" 180"_s);
        QVERIFY(box(u"Text8"_s)->toolTip().startsWith(u"Азимут по компасу (магнитный): 180.1°"_s));
        QCOMPARE(box(u"Text12"_s)->toolTip(), kAzimuthTipBefore);

        click(m_window, "NAPR");
        auto* rotation = m_window->plotWindow()->findChild<QLineEdit*>(u"POZIA"_s);
        const QString rotationTip = rotation->toolTip();
        QVERIFY(rotationTip.contains(u"Склонение места последнего расчёта"_s));
        type({{"Text5", "1e400"}});
        click(m_window, "Gprog");
        QCOMPARE(m_messages.size(), 1);
        for (const char* name : {"Text8", "Text12"})
            QCOMPARE(box(QLatin1String(name))->toolTip(), kAzimuthTipBefore);
        QCOMPARE(rotation->toolTip(), rotationTip);
    }

    // The viewer loads first and shows itself, empty, behind the main window. "Рисунок" on an open
    // viewer keeps its place in the picture cycle; after "ВЫХОД" it loads the viewer afresh.
    void startUpAndViewer() {
        QCOMPARE(m_window->focusWidget(), box(u"Text1"_s));
        QVERIFY(m_window->viewerWindow()->isVisible() && showing(m_window->viewerWindow()));
        type({{"Text5", "13"}});
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
