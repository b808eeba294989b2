// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>
#include <array>
#include <optional>

// The magnetic declination of a site by the World Magnetic Model, so that a satellite's azimuth
// can also be given as the compass reads it: magnetic azimuth = true azimuth - declination.

// The model's degree and order, and the number of its Gauss coefficients g or h: one for each
// pair (n, m) with 1 <= n <= 12 and 0 <= m <= n, stored at index n * (n + 1) / 2 + m (index 0,
// the unused n = 0, stays in the file's arrays).
constexpr int kMagneticModelDegree = 12;
constexpr int kMagneticCoefficients = (kMagneticModelDegree + 1) * (kMagneticModelDegree + 2) / 2;

// One edition of the model: the main-field coefficients g, h in nT at the epoch (a decimal year)
// and their secular variation gDot, hDot in nT per year.
struct MagneticModel {
    QString name;
    double epoch = 0;
    std::array<double, kMagneticCoefficients> g{}, h{}, gDot{}, hDot{};

    // Whether the model is meant for the date (a decimal year): from its epoch up to but not
    // including five years later. False for NaN.
    bool covers(double decimalYear) const;
};

// A model from a coefficient file's bytes: a JSON object with "name", "epoch", "n_max" and
// "n_max_sec_var" (both 12), and the arrays "main_field_coeff_g", "main_field_coeff_h",
// "secular_var_coeff_g", "secular_var_coeff_h" of 91 numbers each. Empty when anything is
// missing or of the wrong kind or size.
std::optional<MagneticModel> LoadMagneticModel(const QByteArray& json);

// The 2025 edition (WMM-2025) built into the library, read once on first use; empty only if the
// library was built without its coefficient file.
const std::optional<MagneticModel>& Wmm2025();

// The date as a decimal year: the year plus the days before the date over the days in its year
// (366 in a leap year), so 1 January is the year itself. NaN for an invalid date.
double DecimalYear(const QDate& date);

// The magnetic declination in degrees, east positive (between -180 and 180), at a site given by
// its geodetic latitude and longitude in degrees on the WGS 84 ellipsoid (north and east
// positive) and its height above the ellipsoid in kilometres, on a date given as a decimal year.
// The coefficients are carried from the model's epoch to the date by their secular variation
// whether or not the model covers the date: the caller decides with covers().
// Empty where there is no declination: at a geographic pole (latitude within 1e-6 degree of 90
// or -90, where no direction is north), for a latitude beyond 90, and for a NaN or infinite
// argument.
std::optional<double> MagneticDeclination(const MagneticModel& model, double latitude,
                                          double longitude, double heightKm, double decimalYear);
