#pragma once

#include <QStringView>

// The number at the start of a text, the way every numeric box and every field of the direction
// data file is read. Blanks, tabs and line feeds anywhere in the text are ignored; then an
// optional sign, digits with at most one '.' and an optional exponent (E, e, D or d, an optional
// sign, digits) are taken from the start, and reading stops at the first character that does not
// fit. A text with no leading number gives 0. The comma is never a decimal point.
//
// A number too large for double precision (such as "1e400") gives an infinity of its sign, so
// that the caller can stop its work at that step; one too small to represent gives 0.
double LeadingNumber(QStringView text);
