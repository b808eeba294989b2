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
// a blank, the minus sign U+2212 and the dashes a word processor or a web page puts for it (the
// hyphen U+2010, the non-breaking hyphen U+2011, the figure, en and em dashes U+2012 to U+2014,
// the horizontal bar U+2015, the small em dash U+FE58, the small and the full-width hyphen-minus
// U+FE63 and U+FF0D) as '-', the small and the full-width plus U+FE62 and U+FF0B as '+', and a
// decimal digit of any script (Arabic-Indic, Persian, Devanagari, full-width...: category Nd) as
// the same ASCII digit: "\u200f٣٥" reads 35, "－３５" reads -35. Every other character beyond
// ASCII ends the number; plain ASCII text is read as it stands.
//
// The value is the double nearest the number, rounded as strtod rounds it. A number too large for
// double precision (such as "1e400", or 400 digits with the exponent "-0000001") gives an infinity
// of its sign, so that the caller can stop its work at that step; one too small to represent gives
// 0 of its sign. Which of the two is decided by mantissa and exponent together, for exponents of
// any length.
double LeadingNumber(QStringView text);

// How much of a text its number is, once the characters the reader ignores are gone.
enum class NumberExtent {
    Blank,  // nothing else: the text reads 0, as an empty one does
    Whole,  // one complete number and nothing else
    // A number and something after it ("26S", "35,4615", "12e"): the value is the start's.
    Partly,
    NoNumber,  // something, but no digit before it ends ("-", "abc", "S26"): the value is 0
};

struct NumberReading {
    double value;  // LeadingNumber's value, to the last bit
    NumberExtent extent;
    // A blank (a space, tab, line feed or any space separator, not an invisible format character)
    // stands between two digits or points of the number, as in "35 27.69" or "1 200": two numbers
    // typed into one box, which the reader joins into one.
    bool blankInside = false;
};

// LeadingNumber's value together with how much of the text it took. An exponent letter must be
// followed by digits (with an optional sign between) for the number to be complete: "12e" and
// "12e+" read 12 but are only partly a number; "12." and ".5" are whole.
NumberReading ReadNumber(QStringView text);
