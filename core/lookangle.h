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

// Azimuth from north through east, between 90 and 270 degrees for every site, southern ones
// included; it reaches 90 or 270 exactly only for latitudes so close to 0 that the arctangent
// rounds to a right angle. Double: satellite 1's, every step in double precision; Single:
// satellite 2's, each step of the conversion to degrees rounded to single precision.
double AzimuthDouble(const Site& site, SatelliteLongitude satellite);
float AzimuthSingle(const Site& site, SatelliteLongitude satellite);

// Elevation above the horizon; empty when the denominator of the method is exactly 0.
std::optional<double> ElevationDouble(const Site& site, SatelliteLongitude satellite);
std::optional<float> ElevationSingle(const Site& site, SatelliteLongitude satellite);
