// SPDX-License-Identifier: GPL-3.0-or-later
#include "torvel.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPixmap>
#include <QPushButton>

#include "appdir.h"
#include "compassnote.h"
#include "controls.h"
#include "datafile.h"
#include "flin1.h"
#include "fris123.h"
#include "messages.h"
#include "startrun.h"
#include "webstorage.h"

namespace {

// The tooltip the layout gives the main window's control, as it has it before any START.
QString layoutToolTip(const char* name) {
    return QString::fromUtf8(TorvelLayout().control(name)->toolTip);
}

}  // namespace

TORVEL::TORVEL(std::optional<DataFilePlace> place) {
    BuildWindow(this, TorvelLayout());
    wireControls();
    m_decimalSeparator = QLocale().decimalPoint().at(0);

    // A program folder or a user's data folder whose path cannot be used leaves the data file's
    // path empty: START and the plot then say so and touch no file anywhere.
    if (place) {
        m_place = std::move(*place);
    } else if (const std::optional<QString> appDir = AppDir()) {
        m_place = DecideDataFilePlace(*appDir);
    } else {
        m_place.problem = UnusableAppDirMessage();
    }
    // A browser that refuses to keep the written file says so once, when it answers.
    WebStorage::SetFailureHandler([this](const QString& text) { Messages::show(this, text); });
    m_viewer = new FRIS123([this] { showMain(); });
    m_plot = newPlot();
}

TORVEL::~TORVEL() {
    WebStorage::SetFailureHandler({});
    delete m_viewer;
    delete m_plot;
}

void TORVEL::wireControls() {
    for (const char* name : {"Image3", "Image2"}) {
        // Read as the bitmaps they are: asked to guess the format, the reader would first load
        // every image plugin installed to ask each whether it reads them.
        QImageReader reader(QStringLiteral(":/legend/%1.bmp").arg(QLatin1String(name)), "BMP");
        reader.setAutoDetectImageFormat(false);
        findChild<QLabel*>(QLatin1String(name))->setPixmap(QPixmap::fromImage(reader.read()));
    }

    // Text16 shows its sign and angle in black whatever the colour scheme.
    QLineEdit* rotation = box(QStringLiteral("Text16"));
    QPalette palette = rotation->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        palette.setColor(group, QPalette::Text, Qt::black);
    rotation->setPalette(palette);

    box(QStringLiteral("Text1"))->setFocus();
    connect(box(QStringLiteral("Text5")), &QLineEdit::textChanged, this,
            [this] { m_editState = 1; });
    connect(box(QStringLiteral("Text7")), &QLineEdit::textChanged, this,
            [this] { m_editState = 2; });

    auto button = [this](const char* name) { return findChild<QPushButton*>(QLatin1String(name)); };
    connect(button("Gprog"), &QPushButton::clicked, this, &TORVEL::runStart);
    connect(button("RISYNOK"), &QPushButton::clicked, this, [this] {
        if (m_editState != 0) showViewer();
    });
    connect(button("NAPR"), &QPushButton::clicked, this, [this] {
        if (m_editState != 0) showPlot();
    });
    connect(button("cmdExit"), &QPushButton::clicked, this, &TORVEL::exitProgram);
}

QLineEdit* TORVEL::box(const QString& name) const {
    return findChild<QLineEdit*>(name);
}

void TORVEL::runStart() {
    auto text = [this](const char* name) { return box(QLatin1String(name))->text(); };
    const StartInputs inputs{text("Text1"), text("Text2"),  text("Text3"),
                             text("Text4"), text("Text5"),  text("Text6"),
                             text("Text9"), text("Text10"), text("Text13")};
    const StartResult run = RunStart(inputs, CarriedValues{m_carriedBeta2}, m_decimalSeparator);
    if (run.end == RunEnd::RefusedInput) {
        // The box to put right takes the focus with its text selected, ready to be typed over.
        box(run.box)->setFocus();
        box(run.box)->selectAll();
    }
    if (run.end == RunEnd::MissingInput || run.end == RunEnd::RefusedInput) {
        Messages::show(this, run.message);
        return;
    }

    // The results appear in the order the calculation made them; writing Text7 raises EditState.
    // Each box shows the beginning of its new text, as a text box does once its text is set.
    for (const BoxWrite& write : run.writes) {
        QLineEdit* target = box(write.box);
        target->setText(write.text);
        target->setCursorPosition(0);
    }
    m_carriedBeta2 = run.carried.beta2;
    if (run.end == RunEnd::ArithmeticFault) {
        clearCompass();
        showFeedNotes({});
        Messages::show(this, run.message);
        return;
    }
    showCompass(run);
    showFeedNotes(run.feedToolTips);

    if (m_place.path.isEmpty()) {
        Messages::show(this, m_place.problem);
        return;
    }
    QString message;
    if (!WriteDataFile(m_place.path, run.alpha1, run.beta1, &message)) {
        Messages::show(this, message);
    } else if (!m_place.movedNote.isEmpty() && !m_movedNoteShown) {
        // Once in the run, at the first file written: an installer learns where it went without
        // being told again at every START.
        m_movedNoteShown = true;
        Messages::show(this, m_place.movedNote);
    }
}

void TORVEL::showCompass(const StartResult& run) {
    const SiteDeclination declination = DeclinationAt(run.site, m_today());
    box(QStringLiteral("Text8"))->setToolTip(AzimuthToolTip(run.alpha1, declination));
    // A run that stops short of satellite 2 leaves Text12 as it was: no longer this site's.
    if (run.alpha2)
        box(QStringLiteral("Text12"))->setToolTip(AzimuthToolTip(*run.alpha2, declination));
    else
        box(QStringLiteral("Text12"))->setToolTip(layoutToolTip("Text12"));
    m_rotationNote = RotationNote(declination);
    if (m_plot) m_plot->setRotationNote(m_rotationNote);
}

void TORVEL::clearCompass() {
    for (const char* name : {"Text8", "Text12"})
        box(QLatin1String(name))->setToolTip(layoutToolTip(name));
}

void TORVEL::showFeedNotes(const QMap<QString, QString>& toolTips) {
    // A box this run did not write still shows an older run's figure: the layout's tooltip.
    for (const char* name : {"Text14", "Text15", "Text16"})
        box(QLatin1String(name))
            ->setToolTip(toolTips.value(QLatin1String(name), layoutToolTip(name)));
}

void TORVEL::exitProgram() {
    if (m_exiting) return;
    m_exiting = true;
    // The other windows go at once, without waiting for the event loop.
    delete m_viewer;
    delete m_plot;
    hide();
    QCoreApplication::quit();
}

void TORVEL::closeEvent(QCloseEvent* event) {
    // Closing the main window by its title bar ends the program like EXIT.
    event->accept();
    exitProgram();
}

void TORVEL::showMain() {
    showNormal();
    raise();
    activateWindow();
}

FLIN1* TORVEL::newPlot() {
    auto* plot = new FLIN1(m_place, [this] { showMain(); });
    plot->setRotationNote(m_rotationNote);
    return plot;
}

void TORVEL::showPlot() {
    if (!m_plot) m_plot = newPlot();
    m_plot->showNormal();
    m_plot->raise();
    m_plot->activateWindow();
}

void TORVEL::showViewer() {
    // A viewer that is still open keeps its place in the picture cycle.
    if (!m_viewer) {
        m_viewer = new FRIS123([this] { showMain(); });
    } else {
        m_viewer->showNormal();
    }
    m_viewer->raise();
    m_viewer->activateWindow();
}

FLIN1* TORVEL::plotWindow() const {
    return m_plot;
}

FRIS123* TORVEL::viewerWindow() const {
    return m_viewer;
}
