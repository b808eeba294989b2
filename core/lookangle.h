// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <optional>

// Look angles of a geostationary satellite from a site. Longitudes are positive east, latitudes
// positive north; angles are taken in radians and the results are in degrees. Every function
// throws ArithmeticFault at a step that has no valid result.
//
// The precisions are part of the results: the site's longitude and the satellites' longitudes are
// held in single precision, the latitude in double precision, and satellite 2's angles go through
// single precision step by step. They are kept exactly so, because the program must show the same
// digits as its published check values.

// The installation site as the calculation holds it.
struct Site {
    float longitude;  // radians, single precision
    double latitude;  // radians
};

// A satellite's orbital longitude in radians, single precision. A type of its own, so that a
// satellite's longitude cannot be passed where the site's is meant.
struct SatelliteLongitude {
    float radians;
};

// pi as the calculation uses it: 4 * arctan(1), the full double-precision value.
double CalcPi();

// An angle in radians from a degrees box and a minutes box: (60 * degrees + minutes) * pi / 10800.
// The minutes keep their own sign.
double AngleFromTexts(const QString& degrees, const QString& minutes);

// The method's azimuth from north through east, between 90 and 270 degrees for every site,
// southern ones included; it reaches 90 or 270 exactly only for latitudes so close to 0 that the
// arctangent rounds to a right angle. It is the true azimuth for a site north of the equator and
// the true azimuth turned by 180 degrees for one south of it (see ShownAzimuth). The feed
// offsets are computed from these values as they are. Double: satellite 1's, every step in
// double precision; Single: satellite 2's, each step of the conversion to degrees rounded to
// single precision.
double AzimuthDouble(const Site& site, SatelliteLongitude satellite);
float AzimuthSingle(const Site& site, SatelliteLongitude satellite);

// The azimuth the program shows and stores for the method's azimuth: the same value for a site
// north of the equator; for one south of it (latitude below 0) the value turned by 180 degrees
// into 0 <= a < 360, in the value's own precision, which puts the satellite north of the site as
// it is there. Between 270 and 360 or 0 and 90 for a southern site.
double ShownAzimuth(const Site& site, double methodAzimuth);
float ShownAzimuth(const Site& site, float methodAzimuth);

// Elevation above the horizon; empty when the denominator of the method is exactly 0.
std::optional<double> ElevationDouble(const Site& site, SatelliteLongitude satellite);
std::optional<float> ElevationSingle(const Site& site, SatelliteLongitude satellite);
