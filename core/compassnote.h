// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QString>
#include <optional>

#include "geomag.h"
#include "lookangle.h"

// What a compass makes of a completed START. The program's azimuths are from true north; a
// compass needle points to magnetic north, which lies the site's magnetic declination away
// (east positive). These are the texts of the tooltips that give the magnetic azimuths and the
// declination: the main window puts them on its ALFA boxes, the direction plot on its rotation
// box.

// A site's declination on a date, as far as the model gives it.
struct SiteDeclination {
    QString model;  // the model's name, such as "WMM-2025"; empty when none is built in
    QDate date;
    bool covered = false;           // the model is meant for the date
    std::optional<double> degrees;  // east positive; empty when not covered or not defined
};

// The declination by the given model at a site given in degrees (north and east positive), at
// the height of the ellipsoid. Nothing is computed for a date the model does not cover.
SiteDeclination DeclinationAt(const std::optional<MagneticModel>& model, double latitude,
                              double longitude, const QDate& date);
// The same by the built-in model (WMM-2025) at the site as the calculation holds it.
SiteDeclination DeclinationAt(const Site& site, const QDate& date);

// The magnetic azimuth: the true azimuth minus the declination, brought into 0 <= a < 360.
double MagneticAzimuth(double trueAzimuth, double declination);

// The tooltip of an ALFA box after a completed START, for the azimuth the box shows: the
// magnetic azimuth and the declination to 0.1 degree, the model and the date; where there is no
// declination, why not.
QString AzimuthToolTip(double shownAzimuth, const SiteDeclination& declination);

// The part of the rotation box's tooltip about the last completed START's site: its declination
// and what to type to turn the thick compass onto magnetic north.
QString RotationNote(const SiteDeclination& declination);

// A tooltip with a note below its fixed part; the fixed part alone for an empty note.
QString WithNote(const QString& toolTip, const QString& note);
