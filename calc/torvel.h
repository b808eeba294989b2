// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QChar>
#include <QDate>
#include <QDateTime>
#include <QMap>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <optional>

#include "datafile.h"
#include "places.h"
#include "sheet.h"

class FLIN1;
class FRIS123;
class QLineEdit;
class SearchPopup;
struct StartResult;

// The main window "RASCHET": the inputs for the site, the two satellites and the focal length,
// the results, and the buttons that run the calculation and open the other two windows.
// Loading it computes the program directory and where the direction data file lives for this
// run, loads the figure viewer (which shows itself) and the direction plot (hidden); the program
// then shows this window last, in front.
class TORVEL : public QWidget {
    Q_OBJECT
public:
    // place: where the direction data file lives in this run; decided from the program folder
    // when none is given.
    explicit TORVEL(std::optional<DataFilePlace> place = std::nullopt);
    ~TORVEL() override;

    // Brings the main window forward; the other windows' exit buttons call it.
    void showMain();

    // Show the direction plot and the figure viewer, loading each first if it was closed. The
    // buttons call these only once EditState is not 0.
    void showPlot();
    void showViewer();

    FLIN1* plotWindow() const;
    FRIS123* viewerWindow() const;

    // 0 until Text5 first changes, 1 after a change of Text5, 2 after a change of Text7.
    qint16 editState() const { return m_editState; }

    // The direction data file that START writes and the plot reads during this run; empty when
    // there is none that can be used (the program folder's path, or the user's data folder's).
    const QString& dataFile() const { return m_place.path; }

    // The regional decimal separator the feed offsets write their masked texts with; taken from
    // the user's locale when the window is created.
    void setDecimalSeparator(QChar separator) { m_decimalSeparator = separator; }

    // The local date the magnetic declination is taken for, asked at each START; today's date
    // unless set.
    void setClock(std::function<QDate()> today) { m_today = std::move(today); }

    // The moment a START is taken to have run, for the installation sheet; now unless set.
    void setNow(std::function<QDateTime()> now) { m_now = std::move(now); }
    // Asks where to save the sheet, offering the suggested path; an empty answer cancels. The
    // platform's save dialog unless set.
    using SheetPathAsker = std::function<QString(QWidget* parent, const QString& suggested)>;
    void setSheetPathAsker(SheetPathAsker ask) { m_askSheetPath = std::move(ask); }

    // ЛИСТ and Ctrl+S: after a completed START whose inputs have not changed since, asks where
    // to save the installation sheet and writes it there whole, or says why it could not.
    void saveSheet();

    // START: reads the input boxes, fills in the result boxes and rewrites the direction data
    // file, or reports why it stopped. A completed run gives the ALFA boxes the magnetic
    // azimuths as tooltips, the feed boxes the second feed's exact place and turn and the
    // direction plot its site's declination; a stopped one takes the tooltips away again, since
    // its boxes no longer show one run's results.
    void runStart();

    // EXIT: ends the program with all its windows.
    void exitProgram();

    // The town search ("Город…", Ctrl+F outside the satellites' boxes) and the satellite lists
    // ("Спутник…", Ctrl+F in that satellite's boxes; which is 1 or 2). Each opens over the window
    // and fills the boxes with what is chosen.
    void openTownSearch();
    void openSatelliteSearch(int which);
    // The search open now, if any.
    SearchPopup* searchPopup() const;

    // The town chosen in the town search or from the recent sites, with its region, country and
    // coordinates, until a site box is edited by hand; chosen is false otherwise.
    SiteChoice currentTown() const { return m_town; }
    // The names at the position chosen for satellite 1 or 2 (which) from its list, the one shown
    // first, until that satellite's boxes are edited by hand; empty otherwise.
    QStringList satelliteNames(int which) const;

    // The file the recent sites are kept in; the one beside the direction data file unless set.
    void setRecentSitesFile(const QString& path) { m_recentPath = path; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void wireControls();
    QLineEdit* box(const QString& name) const;
    FLIN1* newPlot();
    void showCompass(const StartResult& run);
    void clearCompass();
    // The feed boxes' tooltips of a run; the layout's own for the boxes not among them.
    void showFeedNotes(const QMap<QString, QString>& toolTips);

    void chooseTown(const SiteChoice& town);
    void chooseSatellite(int which, const SatelliteFound& found);
    void showTown();
    void showSatellite(int which);
    SearchPopup* newSearch(const QString& title, const QString& accessibleName,
                           const QString& note);
    const QVector<SiteChoice>& recentSites();
    void rememberSite();
    // The last completed START's sheet; none once an input box changes.
    std::optional<SheetInput> m_sheet;
    void setSheet(std::optional<SheetInput> sheet);
    void nameSheet(SheetInput& sheet) const;
    std::function<QDateTime()> m_now = [] { return QDateTime::currentDateTime(); };
    SheetPathAsker m_askSheetPath;

    DataFilePlace m_place;
    // START has said where the file is kept, when it is not beside the program.
    bool m_movedNoteShown = false;
    qint16 m_editState = 0;
    // Satellite 2's elevation, carried from one run to the next.
    float m_carriedBeta2 = 0;
    QChar m_decimalSeparator;
    std::function<QDate()> m_today = [] { return QDate::currentDate(); };
    // The direction plot's note on the last completed START's declination, kept for a plot
    // loaded afresh.
    QString m_rotationNote;
    QPointer<FRIS123> m_viewer;
    QPointer<FLIN1> m_plot;
    bool m_exiting = false;
    SiteChoice m_town;
    QStringList m_satelliteNames[2];
    QPointer<SearchPopup> m_search;
    // Read when first needed: the town search's first opening or the first completed START.
    std::optional<QString> m_recentPath;
    std::optional<QVector<SiteChoice>> m_recent;
};
