// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>

#include "layout.h"

class QWidget;

// The program's font of that name, from the faces installed (see UiFont); for Default the
// platform's dialog font in the program's sans face.
QFont ProgramFont(FontName name);

// How a window built from its layout gets its fonts: the program's own, or the platform's
// default font everywhere (the start-up yardstick's plain window).
enum class Fonts { Program, PlatformDefault };

// Gives the window its caption, its client size for good (it cannot be resized or maximised), its
// fixed start-up position if it has one, and its font, and creates every control of its layout as
// a child of the window or of its parent control, named and placed as the layout says, with the
// accessible name and tooltip it gives, in the focus order of its tab indices. Labels wrap their
// caption at blanks; text boxes are single-line, left-aligned and unlimited; images and picture
// boxes start empty and show a picture unscaled at their top-left corner.
void BuildWindow(QWidget* window, const WindowLayout& layout, Fonts fonts = Fonts::Program);
