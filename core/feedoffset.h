// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QChar>
#include <QString>
#include <optional>

#include "lookangle.h"

// The second feed beside the main one: its rotation angle, its elevation shift and the distance
// between the feed centres, as the texts the main window shows.

// A number through a mask of '0' (always a digit), '#' (a digit only when significant) and '.'
// (the decimal separator, always shown), rounded to the mask's places after the point. Digits
// before the point beyond the placeholders are all shown; a negative value gets a leading '-'.
// With '.' as separator, "##.#" shows 23.48 as "23.5", 10.017 as "10.", 0.44 as ".4", 0 as ".".
QString FormatMask(double value, const QString& mask, QChar decimalSeparator);

// The number a masked text stands for, read with the separator it was written with; empty when
// the text has no digit at all.
std::optional<double> ReadMasked(const QString& masked, QChar decimalSeparator);

// The rotation angle of the second feed with its sign, such as " + 23.5", " - 10" or " + 0", for
// satellite 2 seen from the site: satellite 2's polarisation skew, the turn a feed needs on a dish
// aimed at satellite 2 itself, "+" clockwise as seen from behind the dish. Throws ArithmeticFault
// where a step has no valid result.
QString FeedRotationText(const Site& site, SatelliteLongitude satellite2, QChar decimalSeparator);

// A shift of the second feed: the first 8 characters of the distance's text, "мм-->" and the
// direction word (wordIfNegative when the difference, rounded to five decimals in radians, is
// below 0). Throws ArithmeticFault where a step has no valid result.
QString FeedOffsetText(double differenceDegrees, double focalLength,
                       const QString& wordIfNotNegative, const QString& wordIfNegative,
                       QChar decimalSeparator);
