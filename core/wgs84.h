// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The WGS 84 ellipsoid the typed latitude is taken on, in kilometres: the feed placement puts the
// site on it, and the magnetic model turns the site's place from it into geocentric coordinates.
inline constexpr double kWgs84EquatorialRadiusKm = 6378.137;
inline constexpr double kWgs84Flattening = 1 / 298.257223563;
