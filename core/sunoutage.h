// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QList>

#include "feedplace.h"

// Sun outage: the days around the equinoxes when the sun, seen from the site, passes behind a
// geostationary satellite and its noise blinds the feed for a few minutes.

// The sun's direction from the Earth's centre in Earth-fixed axes (see EarthVector) at a moment
// given as a Julian date in UT, by the low-precision formulas for the Sun of the Astronomical
// Almanac (section C, "Low precision formulas for the Sun": about 0.01 degree from 1950 to
// 2050) and its expression for Greenwich mean sidereal time. From the site the sun looks the same
// to within 9 arc seconds (its parallax), so one direction serves every site.
EarthVector SunDirection(double julianDateUt);

// The Julian date of a moment.
double JulianDate(const QDateTime& moment);
QDateTime MomentOfJulianDate(double julianDate);

// The angle from a satellite's direction within which the sun blinds the feed, degrees: half the
// dish's 3 dB beamwidth, 70 * wavelength / diameter, plus the sun's own radius, 0.25 degree.
double OutageAngle(double diameterCm, double frequencyGHz);

// One day's outage: while the sun lies within the outage angle of the satellite's direction.
struct OutageWindow {
    QDateTime start, end;  // UTC
    double closest = 0;    // the least angle between the sun and the satellite that day, degrees
    QDateTime centre() const { return start.addMSecs(start.msecsTo(end) / 2); }
};

// Every day's outage window for the satellite seen from the site, from the moment on for one
// year (365 days), in time order; none where the satellite is below the horizon.
QList<OutageWindow> SunOutages(const Site& site, SatelliteLongitude satellite,
                               const QDateTime& from, double outageAngle);

// The windows in runs of consecutive days (a spring run and an autumn run in a year).
QList<QList<OutageWindow>> OutagePeriods(const QList<OutageWindow>& windows);
