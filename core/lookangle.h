#pragma once

#include <QString>
#include <optional>

// Look angles of a geostationary satellite from a site. Longitudes are positive east, latitudes
// positive north; angles are taken in radians and the results are in degrees. Every function
// throws ArithmeticFault at a step that has no valid result.

// pi as the calculation uses it: 4 * arctan(1).
double CalcPi();

// An angle in radians from a degrees box and a minutes box: (60 * degrees + minutes) * pi / 10800.
// The minutes keep their own sign.
double AngleFromTexts(const QString& degrees, const QString& minutes);

// Azimuth from north through east, between 90 and 270 degrees for every site, southern ones
// included; it reaches 90 or 270 exactly only for latitudes so close to 0 that the arctangent
// rounds to a right angle.
double AzimuthDouble(float siteLongitude, double latitude, float satelliteLongitude);
float AzimuthSingle(float siteLongitude, double latitude, float satelliteLongitude);

// Elevation above the horizon; empty when the denominator of the method is exactly 0.
std::optional<double> ElevationDouble(float siteLongitude, double latitude,
                                      float satelliteLongitude);
std::optional<float> ElevationSingle(float siteLongitude, double latitude,
                                     float satelliteLongitude);
