// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <array>
#include <optional>

#include "lookangle.h"

// Where the second feed really goes on a dish aimed at satellite 1, and how far both feeds are
// turned, from the exact geometry: the site on the WGS 84 ellipsoid (the typed latitude taken as
// geodetic, at the ellipsoid's height), the satellites on the geostationary circle, and the dish
// on an azimuth-elevation mount with its axis on satellite 1.
//
// Everything is in the dish's own view, as an installer standing behind the dish and looking at
// satellite 1 sees it: "forward" along the axis, "right" horizontal, "up" at right angles to both.
// A wave from satellite 2 arrives off the axis; the dish brings it to a point on the opposite side
// of the focus, at F * tan(offset) in each direction.
//
// The window's own three feed figures stay as they are; these values go into their tooltips.

struct FeedPlacement {
    // Exact elevations above the horizon, degrees; below 0 the satellite cannot be received.
    double elevation1 = 0, elevation2 = 0;
    // Satellite 2 as seen from satellite 1 through the dish: degrees to the right (+) or left (-),
    // up (+) or down (-), and the angle between the two satellites.
    double right = 0, up = 0, separation = 0;
    // The second feed's place from the main feed's centre per millimetre of focal length, to the
    // right (+) and up (+); empty when satellite 2 lies 90 degrees or more off the axis, where
    // the dish cannot bring its wave to a focus at all.
    std::optional<double> placeRight, placeUp;
    // Turns of the feeds about their own axes from the vertical, degrees, clockwise (+) as seen
    // from behind the dish looking at the satellite. A geostationary satellite's linear
    // polarisation lies along the Earth's axis as it appears across the line of sight. The main
    // feed's turn is satellite 1's polarisation in the dish's view, in (-90, 90]; the second
    // feed, tilted towards the dish by the least turn from the main feed's position, needs that
    // plus turnDifference, in (-90, 90].
    double mainTurn = 0, turnDifference = 0;
    double secondTurn() const { return mainTurn + turnDifference; }
};

// The placement for a dish at the site aimed at satellite 1; empty where the dish's view has no
// "right", that is where satellite 1 stands straight overhead.
std::optional<FeedPlacement> PlaceSecondFeed(const Site& site, SatelliteLongitude satellite1,
                                             SatelliteLongitude satellite2);

// Directions in Earth-fixed axes: x towards longitude 0 on the equator, y towards 90 east, z
// towards the north pole.
using EarthVector = std::array<double, 3>;

// The site's vertical (the ellipsoid's normal) and the unit line of sight from the site to the
// satellite.
EarthVector Vertical(const Site& site);
EarthVector LineOfSight(const Site& site, SatelliteLongitude satellite);

// A satellite as the exact geometry sees it from the site, degrees: the true azimuth from north
// through east (0 <= a < 360), the elevation, and the polarisation skew of a dish aimed at it
// (the turn of its feed from the vertical, clockwise + from behind, as FeedPlacement::mainTurn);
// the skew is empty where the dish's view has no "right" (the satellite straight overhead).
struct ExactLook {
    double azimuth = 0, elevation = 0;
    std::optional<double> skew;
};
ExactLook LookAt(const Site& site, SatelliteLongitude satellite);

// The tooltips that explain the three feed boxes after START: for the elevation shift (Text14)
// and the centre distance (Text15) the exact angles and the second feed's place in millimetres
// for the typed focal length (above 0, as START checks it); for the rotation (Text16) the turns
// of both feeds. Russian, with
// '.' as the decimal point whatever the regional settings.
enum class FeedBox { ElevationShift, CentreDistance };
QString FeedPlaceToolTip(const FeedPlacement& placement, double focalLength, FeedBox box);
QString FeedTurnToolTip(const FeedPlacement& placement);
