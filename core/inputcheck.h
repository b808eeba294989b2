// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <optional>

#include "startinputs.h"

// The input boxes' texts that START and the direction plot's START refuse rather than compute a
// plausible wrong result from. The number reader keeps the number at the start of a text and
// drops the rest, so "26S" would be 26 north, "101W" 101 east and "35,4615" 35: a text that is
// only partly a number, or holds text but no number, is refused, and so are values no site or
// dish can have. An empty box, or one of blanks only, reads 0 as always.

// The box to put right, by object name, and what to tell the user: the box by its name as a
// screen reader says it, what was typed, what it would have been read as, and how to type it.
struct RefusedInput {
    QString box;
    QString message;
};

// START's inputs, once none of the required boxes is empty. The four angles in turn (the site's
// longitude Text1/Text2, its latitude Text3/Text4, satellite 1 Text5/Text6, satellite 2
// Text9/Text10), each refused at the first of: a degrees box empty or of blanks (it would read
// 0); the degrees box, then the minutes box, only partly a number or two numbers with blanks
// between them ("35 27.69"); minutes of 60 or more in size; degrees and minutes of opposite signs,
// the degrees' minus counted on "-0" too (the box without the minus is named); a longitude too
// large to hold. Then the focal length Text13 only partly a number or two numbers; then a site
// latitude (degrees plus minutes) beyond 90 degrees north or south; then a focal length of 0 or
// less, or above 100000 mm (a box of blanks reads 0 and is refused here). The equator itself and
// longitudes of any size that can be held pass. None when every box can be used.
std::optional<RefusedInput> CheckStartInputs(const StartInputs& inputs);

// The direction plot's rotation box POZIA: refused when only partly a number, two numbers with
// blanks between them, or too large for single precision.
std::optional<RefusedInput> CheckRotationInput(const QString& text);

// A text quoted for a message: in «», cut to 40 characters with "…" when longer (a whole page
// pasted by mistake), control characters and line breaks shown as blanks.
QString QuotedText(const QString& text);
