// SPDX-License-Identifier: GPL-3.0-or-later
#include "torvel.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#ifndef Q_OS_WASM
#include <QFileDialog>
#endif
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPixmap>
#include <QPushButton>
#include <QShortcut>
#include <QStandardPaths>
#include <QToolTip>
#include <cmath>
#include <cstdio>
#include <memory>

#include "appdir.h"
#include "compassnote.h"
#include "controls.h"
#include "datafile.h"
#include "fileio.h"
#include "flin1.h"
#include "fris123.h"
#include "leadingnumber.h"
#include "messages.h"
#include "recentsites.h"
#include "searchpopup.h"
#include "startrun.h"
#include "webstorage.h"

namespace {

// The tooltip the layout gives the main window's control, as it has it before any START.
QString layoutToolTip(const char* name) {
    return QString::fromUtf8(TorvelLayout().control(name)->toolTip);
}

// The boxes each search fills: longitude degrees and minutes, then latitude's for the site.
const char* const kSiteBoxes[] = {"Text1", "Text2", "Text3", "Text4"};
const char* const kSatelliteBoxes[2][2] = {{"Text5", "Text6"}, {"Text9", "Text10"}};
const char* const kSatelliteButtons[2] = {"SPUTNIK1", "SPUTNIK2"};
const char* const kSatelliteHeadings[2] = {"T5", "Label2"};

// The site the boxes hold, when each is one number (or blank) and the latitude is one a site can
// have.
std::optional<SiteChoice> SiteInBoxes(const QString texts[4]) {
    double values[4];
    for (int i = 0; i < 4; ++i) {
        const NumberReading reading = ReadNumber(texts[i]);
        if (reading.extent != NumberExtent::Whole && reading.extent != NumberExtent::Blank)
            return std::nullopt;
        values[i] = reading.value;
    }
    SiteChoice site;
    site.chosen = true;
    site.longitude = values[0] + values[1] / 60;
    site.latitude = values[2] + values[3] / 60;
    if (!std::isfinite(site.longitude) || !(std::fabs(site.latitude) <= 90)) return std::nullopt;
    return site;
}

// A satellite's row: its position, its names, and how high it stands over the site when the
// boxes hold one.
SearchPopup::Row SatelliteRow(const SatelliteFound& found, const std::optional<SiteChoice>& site) {
    SearchPopup::Row row{OrbitText(found.longitude) + QStringLiteral(" — ") + found.name,
                         found.index};
    if (!found.others.isEmpty()) row.text += QStringLiteral(", ") + found.others.join(u", ");
    if (!site) return row;
    const double elevation = SatelliteElevation(site->latitude, site->longitude, found.longitude);
    if (elevation < 0) {
        row.text += QStringLiteral(" — ниже горизонта");
        row.greyed = true;
    } else if (elevation < 5) {
        row.text += QStringLiteral(" — низко: %1° над горизонтом").arg(elevation, 0, 'f', 1);
    }
    return row;
}

QString NoTableMessage() {
    return QStringLiteral("В программе нет списка городов и спутников: её сборка неполна.");
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

    connect(button("GOROD"), &QPushButton::clicked, this, &TORVEL::openTownSearch);
    connect(button("SPUTNIK1"), &QPushButton::clicked, this, [this] { openSatelliteSearch(1); });
    connect(button("SPUTNIK2"), &QPushButton::clicked, this, [this] { openSatelliteSearch(2); });
    // Ctrl+F searches for what the focused box holds: a satellite from its boxes or its button,
    // the town from anywhere else.
    connect(new QShortcut(QKeySequence::Find, this), &QShortcut::activated, this, [this] {
        const QString focused = focusWidget() ? focusWidget()->objectName() : QString();
        for (int which : {1, 2})
            if (focused == QLatin1String(kSatelliteBoxes[which - 1][0]) ||
                focused == QLatin1String(kSatelliteBoxes[which - 1][1]) ||
                focused == QLatin1String(kSatelliteButtons[which - 1]))
                return openSatelliteSearch(which);
        openTownSearch();
    });
    // What was chosen by name holds until its boxes are edited by hand.
    for (const char* name : kSiteBoxes)
        connect(box(QLatin1String(name)), &QLineEdit::textEdited, this, [this] {
            m_town = {};
            showTown();
        });
    for (int which : {1, 2})
        for (const char* name : kSatelliteBoxes[which - 1])
            connect(box(QLatin1String(name)), &QLineEdit::textEdited, this, [this, which] {
                m_satelliteNames[which - 1].clear();
                showSatellite(which);
            });
    // The sheet belongs to the inputs of the START that made it.
    button("LIST")->setEnabled(false);
    connect(button("LIST"), &QPushButton::clicked, this, &TORVEL::saveSheet);
    connect(new QShortcut(QKeySequence::Save, this), &QShortcut::activated, this,
            &TORVEL::saveSheet);
    for (const char* name :
         {"Text1", "Text2", "Text3", "Text4", "Text5", "Text6", "Text9", "Text10", "Text13"})
        connect(box(QLatin1String(name)), &QLineEdit::textChanged, this,
                [this] { setSheet(std::nullopt); });
}

void TORVEL::setSheet(std::optional<SheetInput> sheet) {
    m_sheet = std::move(sheet);
    auto* button = findChild<QPushButton*>(QStringLiteral("LIST"));
    button->setEnabled(m_sheet.has_value());
    if (!m_sheet) button->setToolTip(layoutToolTip("LIST"));
}

void TORVEL::saveSheet() {
    if (!m_sheet) return;
#ifdef Q_OS_WASM
    // A page in the browser has no folders to choose from: the sheet is offered as a download.
    WebStorage::OfferDownload(SheetPdf(*m_sheet, ComputeSheet(*m_sheet), ProgramFont(FontName::S8)),
                              SheetFileName(*m_sheet), QStringLiteral("application/pdf"));
#else
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString suggested = QDir(folder).filePath(SheetFileName(*m_sheet));
    QString path = m_askSheetPath ? m_askSheetPath(this, suggested)
                                  : QFileDialog::getSaveFileName(
                                        this, QStringLiteral("Сохранить лист установки"), suggested,
                                        QStringLiteral("PDF (*.pdf)"));
    if (path.isEmpty()) return;
    // "… 19.2E" has a suffix of its own as far as a file name goes.
    if (!path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive)) path += QStringLiteral(".pdf");

    const QByteArray pdf = SheetPdf(*m_sheet, ComputeSheet(*m_sheet), ProgramFont(FontName::S8));
    // Written beside and renamed over, as the data file is: a failed write leaves no half page.
    const Replacement written = ReplaceFile(path, pdf);
    const QString where = QDir::toNativeSeparators(path);
    if (!written.replaced) {
        Messages::show(
            this,
            QStringLiteral("Лист установки не сохранён в %1: %2.").arg(where, written.reason));
        return;
    }
    // Said on the button itself rather than in a box to click away.
    auto* button = findChild<QPushButton*>(QStringLiteral("LIST"));
    const QString note = layoutToolTip("LIST") + QStringLiteral("\nПоследний лист: ") + where;
    button->setToolTip(note);
    QToolTip::showText(button->mapToGlobal(QPoint(0, button->height())), note, button);
#endif
}

void TORVEL::nameSheet(SheetInput& sheet) const {
    // The town and the satellites' names when the window found them by name and they have not
    // been edited since; otherwise the sheet gives the coordinates and longitudes alone.
    if (m_town.chosen && !m_town.name.isEmpty())
        sheet.town = SheetTown{m_town.name, m_town.region, m_town.country};
    bool named = false;
    for (int i : {0, 1}) {
        sheet.satellites[i].names = m_satelliteNames[i].join(QStringLiteral(", "));
        named = named || !m_satelliteNames[i].isEmpty();
    }
    // Names come only from the built-in table, which is then already unpacked.
    if (const PlaceTable* table = named ? PlaceTable::builtIn() : nullptr)
        sheet.satelliteList = table->sources().satellites;
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
        setSheet(std::nullopt);
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
        setSheet(std::nullopt);
        clearCompass();
        showFeedNotes({});
        Messages::show(this, run.message);
        return;
    }
    showCompass(run);
    showFeedNotes(run.feedToolTips);
    rememberSite();
    std::optional<SheetInput> sheet = SheetInputOf(inputs, run);
    if (sheet) {
        sheet->version = QStringLiteral(TORVEL_VERSION);
        sheet->calculated = m_now();
        nameSheet(*sheet);
    }
    setSheet(std::move(sheet));

    if (m_place.path.isEmpty()) {
        Messages::show(this, m_place.problem);
    } else if (QString message; !WriteDataFile(m_place.path, run.alpha1, run.beta1, &message)) {
        Messages::show(this, message);
    } else if (!m_place.movedNote.isEmpty() && !m_movedNoteShown) {
        // Once in the run, at the first file written: an installer learns where it went without
        // being told again at every START.
        m_movedNoteShown = true;
        Messages::show(this, m_place.movedNote);
    }
    // A satellite under the horizon gets plausible figures all the same: said once they are in.
    if (!run.horizonMessage.isEmpty()) Messages::show(this, run.horizonMessage);
}

void TORVEL::showCompass(const StartResult& run) {
    const SiteDeclination declination = DeclinationAt(run.site, m_today());
    // No compass azimuth for a satellite that cannot be seen from the site.
    box(QStringLiteral("Text8"))
        ->setToolTip(run.belowHorizon1.isEmpty() ? AzimuthToolTip(run.alpha1, declination)
                                                 : run.belowHorizon1);
    // A run that stops short of satellite 2 leaves Text12 as it was: no longer this site's.
    if (run.alpha2)
        box(QStringLiteral("Text12"))
            ->setToolTip(run.belowHorizon2.isEmpty() ? AzimuthToolTip(*run.alpha2, declination)
                                                     : run.belowHorizon2);
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

SearchPopup* TORVEL::searchPopup() const {
    return m_search;
}

QStringList TORVEL::satelliteNames(int which) const {
    return which == 1 || which == 2 ? m_satelliteNames[which - 1] : QStringList();
}

SearchPopup* TORVEL::newSearch(const QString& title, const QString& accessibleName,
                               const QString& note) {
    if (m_search) m_search->close();
    m_search = new SearchPopup(this, title, accessibleName, note);
    m_search->setObjectName(QStringLiteral("search"));
    return m_search;
}

void TORVEL::openTownSearch() {
    const PlaceTable* table = PlaceTable::builtIn();
    if (!table) return Messages::show(this, NoTableMessage());
    SearchPopup* search =
        newSearch(QStringLiteral("Город"), QStringLiteral("название города"),
                  QStringLiteral("Города от 15 000 жителей: %1").arg(table->sources().towns));
    // Before anything is typed, the sites of the last completed STARTs; keys below 0.
    auto fill = [this, search, table](const QString& typed) {
        QVector<SearchPopup::Row> rows;
        if (FoldQuery(typed).isEmpty()) {
            const QVector<SiteChoice>& recent = recentSites();
            for (int i = 0; i < recent.size(); ++i)
                rows.push_back({SiteRowText(recent[i]), -1 - i});
        }
        for (const TownFound& town : table->findTowns(typed))
            rows.push_back({SiteRowText(town.site), town.index});
        search->setRows(rows);
    };
    connect(search, &SearchPopup::typed, this, fill);
    connect(search, &SearchPopup::chosen, this, [this, table](int key) {
        if (key >= 0) return chooseTown(table->town(key).site);
        SiteChoice site = recentSites().value(-1 - key);
        chooseTown(site);
    });
    fill(QString());
    search->show();
}

void TORVEL::openSatelliteSearch(int which) {
    const PlaceTable* table = PlaceTable::builtIn();
    if (!table) return Messages::show(this, NoTableMessage());
    SearchPopup* search = newSearch(QStringLiteral("Спутник %1").arg(which),
                                    QStringLiteral("название или позиция спутника %1").arg(which),
                                    QStringLiteral("Спутники по таблицам поиска каналов DVB-S: %1")
                                        .arg(table->sources().satellites));
    // The rows shown, for the name each showed first.
    auto shown = std::make_shared<std::vector<SatelliteFound>>();
    auto fill = [this, search, table, shown](const QString& typed) {
        QString texts[4];
        for (int i = 0; i < 4; ++i) texts[i] = box(QLatin1String(kSiteBoxes[i]))->text();
        const std::optional<SiteChoice> site = SiteInBoxes(texts);
        *shown = table->findSatellites(typed);
        QVector<SearchPopup::Row> rows;
        for (const SatelliteFound& found : *shown) rows.push_back(SatelliteRow(found, site));
        search->setRows(rows);
    };
    connect(search, &SearchPopup::typed, this, fill);
    connect(search, &SearchPopup::chosen, this, [this, which, shown](int index) {
        for (const SatelliteFound& found : *shown)
            if (found.index == index) return chooseSatellite(which, found);
    });
    fill(QString());
    search->show();
}

void TORVEL::chooseTown(const SiteChoice& town) {
    const AngleTexts longitude = DegreesMinutesTexts(town.longitude);
    const AngleTexts latitude = DegreesMinutesTexts(town.latitude);
    const QString texts[4] = {longitude.degrees, longitude.minutes, latitude.degrees,
                              latitude.minutes};
    for (int i = 0; i < 4; ++i) box(QLatin1String(kSiteBoxes[i]))->setText(texts[i]);
    m_town = town.name.isEmpty() ? SiteChoice() : town;
    showTown();
}

void TORVEL::chooseSatellite(int which, const SatelliteFound& found) {
    const AngleTexts texts = DegreesMinutesTexts(found.longitude);
    box(QLatin1String(kSatelliteBoxes[which - 1][0]))->setText(texts.degrees);
    box(QLatin1String(kSatelliteBoxes[which - 1][1]))->setText(texts.minutes);
    m_satelliteNames[which - 1] = QStringList(found.name) + found.others;
    showSatellite(which);
}

void TORVEL::showTown() {
    // The chosen town is named in the tooltips of the site's heading and of its button.
    const QString named =
        m_town.chosen ? QStringLiteral("Место: %1").arg(SiteRowText(m_town)) : QString();
    findChild<QLabel*>(QStringLiteral("T3"))->setToolTip(named);
    auto* button = findChild<QPushButton*>(QStringLiteral("GOROD"));
    button->setToolTip(named.isEmpty() ? layoutToolTip("GOROD")
                                       : named + u'\n' + layoutToolTip("GOROD"));
}

void TORVEL::showSatellite(int which) {
    const QStringList& names = m_satelliteNames[which - 1];
    const QString named = names.isEmpty()
                              ? QString()
                              : QStringLiteral("Спутник %1: %2").arg(which).arg(names.join(u", "));
    findChild<QLabel*>(QLatin1String(kSatelliteHeadings[which - 1]))->setToolTip(named);
    const char* buttonName = kSatelliteButtons[which - 1];
    auto* button = findChild<QPushButton*>(QLatin1String(buttonName));
    button->setToolTip(named.isEmpty() ? layoutToolTip(buttonName)
                                       : named + u'\n' + layoutToolTip(buttonName));
}

const QVector<SiteChoice>& TORVEL::recentSites() {
    if (!m_recentPath) m_recentPath = RecentSitesPath(m_place.path);
    if (!m_recent)
        m_recent = m_recentPath->isEmpty() ? QVector<SiteChoice>() : ReadRecentSites(*m_recentPath);
    return *m_recent;
}

void TORVEL::rememberSite() {
    // The town while it is what the boxes hold; else the site as typed.
    std::optional<SiteChoice> site = m_town;
    if (!m_town.chosen) {
        QString texts[4];
        for (int i = 0; i < 4; ++i) texts[i] = box(QLatin1String(kSiteBoxes[i]))->text();
        site = SiteInBoxes(texts);
    }
    if (!site) return;
    // START after START at one site leaves the list as it is: nothing to write.
    const QVector<SiteChoice> updated = WithRecentSite(recentSites(), *site);
    if (updated == recentSites()) return;
    m_recent = updated;
    QString reason;
    if (!m_recentPath->isEmpty() && !WriteRecentSites(*m_recentPath, *m_recent, &reason)) {
        std::fprintf(stderr, "%s: недавние места не сохранены в %s (%s)\n",
                     qPrintable(QCoreApplication::applicationName()),
                     qPrintable(QDir::toNativeSeparators(*m_recentPath)), qPrintable(reason));
        std::fflush(stderr);
    }
}
