// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QFont>
#include <QMap>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <array>
#include <optional>

#include "compassnote.h"
#include "feedplace.h"
#include "sunoutage.h"

// The installation sheet: one A4 page with every figure for this site and these two satellites,
// the second feed's place drawn to scale, the obstacle heights and the sun outage days, for the
// installer on the roof. Its content is computed here from a completed START; the main window
// only asks where to save it.

// The town the site was found by, when it was found by name.
struct SheetTown {
    QString name, region, country;
};

struct SheetSatellite {
    SatelliteLongitude longitude{};
    // Its names when it was chosen from the satellite list ("Astra 1KR, 1L, 1M, 1N"); empty when
    // its longitude was typed.
    QString names;
};

struct SheetInput {
    QString version;       // the program's
    QDateTime calculated;  // when START ran, in the computer's time zone
    Site site{};
    double focalLength = 0;  // millimetres
    std::array<SheetSatellite, 2> satellites{};
    std::optional<SheetTown> town;
    // The satellite list the names came from, for the footer; empty when none was used.
    QString satelliteList;
    // The window's result boxes as they show them, by name: Text7, Text8, Text11, Text12,
    // Text14, Text15, Text16.
    QMap<QString, QString> boxes;
    // The dish and band the sun outage is computed for.
    double dishDiameterCm = 60;
    double frequencyGHz = 11.7;
};

// The distances in front of the dish the obstacle heights are given for, metres.
inline constexpr std::array<double, 5> kObstacleDistances{2, 5, 10, 20, 50};
// The dish diameters whose outage angles the page's legend lists, centimetres.
inline constexpr std::array<double, 5> kLegendDiameters{45, 60, 80, 90, 120};

// How high an obstacle d metres away in the satellite's direction may rise above the dish's
// centre without cutting the line of sight: d * tan(elevation).
double ObstacleHeight(double distance, double elevationDegrees);

struct SheetSatelliteFigures {
    ExactLook look;
    std::optional<double> magneticAzimuth;
    QList<OutageWindow> outages;  // the coming year's
};

struct SheetFigures {
    SiteDeclination declination;
    std::array<SheetSatelliteFigures, 2> satellites;
    std::optional<FeedPlacement> placement;
    double outageAngle = 0;
};

// Everything the page shows that is computed: the exact look angles, the declination on the day
// of the calculation, the second feed's place and the sun outages from that day for a year.
SheetFigures ComputeSheet(const SheetInput& input);

// The name the sheet is offered under: "RASCHET 2026-12-07 Новосибирск 36.1E 13E.pdf" with the
// town when it is known, else the site's coordinates ("RASCHET 2026-12-07 32.81N 35.46E 13E
// 19.2E.pdf"); characters a file name cannot hold on Windows are left out of the town's name.
QString SheetFileName(const SheetInput& input);

// The second feed's drawing: the view from behind the dish, in millimetres on the page.
struct FeedDrawing {
    int scaleDivisor = 1;  // 1 for 1:1, 2 for 1:2, ...
    QPointF main, second;  // the feeds' centres on the page
    // The second feed's place from the main feed's centre on the dish, millimetres right and up.
    double right = 0, up = 0;
    double centreDistance;  // between the centres on the dish, millimetres
    bool tooClose = false;  // two 40 mm collars would touch
    bool tooFar = false;    // more than 10 degrees apart
};
// The collar of a standard feed, millimetres.
inline constexpr double kCollarDiameter = 40;
// The drawing inside the area at the largest of 1:1, 1:2, 1:5, 1:10 at which both collars fit,
// centred.
FeedDrawing LayOutFeeds(const FeedPlacement& placement, double focalLength, const QRectF& area);
// Where the feed drawing lies on the page, millimetres from the top-left corner.
QRectF FeedDrawingArea();

// The page as a PDF document (A4 portrait) in the font given (the window's), its text as text.
QByteArray SheetPdf(const SheetInput& input, const SheetFigures& figures, const QFont& font);

struct StartInputs;
struct StartResult;
// The sheet's input from a START that completed with every result box written, its boxes' texts
// taken from the run; empty for any other run. The caller adds the version, the time and what
// it knows of the town and the satellites' names.
std::optional<SheetInput> SheetInputOf(const StartInputs& inputs, const StartResult& run);
