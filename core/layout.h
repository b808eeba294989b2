// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <vector>

// The layout of the program's three windows, in twips (1/1440 inch) from the top-left corner of a
// window's client area, as the windows' definitions give it. Each window builds its controls from
// its description here, its layout test checks the window against it, and the start-up yardstick
// builds its plain window from it, so a control's place is written once.

// Twips to pixels: 15 twips make one pixel at 96 dots per inch, and every value is rounded to the
// nearest pixel on its own, as the platform does (the viewer's picture box, 5935 twips high, is
// 396 pixels).
inline constexpr int kTwipsPerPixel = 15;
int TwipsToPixels(int twips);
QPoint TwipsToPixels(QPoint twips);
QRect TwipRect(int left, int top, int width, int height);

// The fonts of the controls, all with the Cyrillic character set: MS Sans Serif (or Times New
// Roman for T12B) at a point size and weight. WindowFont is the main window's own font; Default
// the platform's dialog font.
enum class FontName { Default, WindowFont, S8, S8B, S10, S12B, T12B };
struct FontChoice {
    bool serif;
    double pointSize;
    bool bold;
};
FontChoice FontOf(FontName name);

enum class ControlKind { Label, TextBox, Button, Line, Image, PictureBox };

struct Control {
    ControlKind kind;
    const char* name;
    // The caption of a label or button, or the default text of a text box, exactly as shown.
    const char* text;
    // Left, top, width and height; a line's two end points (x1, y1, x2, y2) instead.
    int left, top, width, height;
    // The control's place in the keyboard focus order; -1 for none. Labels have an index too but
    // take no focus.
    int tabIndex;
    FontName font;
    // What a screen reader calls the control, from its caption or the captions beside it (UTF-8);
    // null for lines and labels, whose caption is their name.
    const char* accessibleName = nullptr;
    // The help shown when the pointer rests on the control (UTF-8): an input box's unit and sign
    // rules; null for none.
    const char* toolTip = nullptr;
    // A line's width in pixels.
    int lineWidth = 1;
    // The control that holds this one (the viewer's buttons sit on its picture box); null for the
    // window itself.
    const char* parent = nullptr;

    QRect pixelRect() const { return TwipRect(left, top, width, height); }
};

struct WindowLayout {
    const char* caption;
    int clientWidth, clientHeight;  // twips
    // A fixed start-up position of the client area on the screen, in twips; none for the
    // platform's default position.
    bool fixedPosition;
    int screenLeft, screenTop;
    FontName font;
    std::vector<Control> controls;

    QSize clientPixels() const;
    QPoint screenPixels() const;
    const Control* control(const char* name) const;
    // The names of the controls that take the keyboard focus, in tab order.
    std::vector<const char*> focusOrder() const;
};

// The main window "RASCHET".
const WindowLayout& TorvelLayout();
// The direction plot "CYRC1".
const WindowLayout& Flin1Layout();
// The figure viewer "RIS123".
const WindowLayout& Fris123Layout();
