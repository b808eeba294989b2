// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringView>

// The number at the start of a text, the way every numeric box and every field of the direction
// data file is read. Blanks, tabs and line feeds anywhere in the text are ignored; then an
// optional sign, digits with at most one '.' and an optional exponent (E, e, D or d, an optional
// sign, digits) are taken from the start, and reading stops at the first character that does not
// fit. A text with no leading number gives 0. The comma is never a decimal point.
//
// Text pasted from a web page or a phone reads as it looks. Before reading, invisible format
// characters (direction marks and embeddings, zero-width spaces and joiners, the word joiner,
// the byte order mark, the soft hyphen: Unicode category Cf) are dropped, every space separator
// (the no-break space, the narrow no-break space, the ideographic space...: category Zs) counts as
// a blank, the minus sign U+2212 as '-', and a decimal digit of any script (Arabic-Indic, Persian,
// Devanagari, full-width...: category Nd) as the same ASCII digit: "\u200f٣٥" reads 35. Every
// other character beyond ASCII ends the number; plain ASCII text is read as it stands.
//
// The value is the double nearest the number, rounded as strtod rounds it. A number too large for
// double precision (such as "1e400", or 400 digits with the exponent "-0000001") gives an infinity
// of its sign, so that the caller can stop its work at that step; one too small to represent gives
// 0 of its sign. Which of the two is decided by mantissa and exponent together, for exponents of
// any length.
double LeadingNumber(QStringView text);
