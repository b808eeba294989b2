// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>
#include <QString>
#include <functional>

#include "datafile.h"

class Canvas;

// The geometry of the direction plot, in twips. A plot angle in degrees points from the plot
// centre: 0 to the top of the window, positive angles clockwise on the screen.
inline constexpr QPoint kPlotCentre{3020, 1608};
inline constexpr int kAxisRadius = 1500;

// The two ends of the axis at a plot angle: the first end lies along the angle, the second
// mirrored through the plot centre. Sine and cosine are taken in double precision of the
// single-precision angle with pi as 3.14159, scaled by the axis radius and rounded to whole
// twips, halves to even.
struct AxisEnds {
    QPoint first;
    QPoint second;
};
AxisEnds PlotAxis(float degrees);

// The value rounded down to a multiple of one half degree: 217.33 gives 217, 217.7 gives 217.5.
float HalfDegreeFloor(float value);

enum class PlotEnd {
    Completed,
    RefusedInput,     // the rotation text is not one number, or too large: nothing is drawn,
                      // not even cleared
    NoDirectionData,  // the data file is missing, unreadable, short or damaged (see
                      // DataFileFields::damage), or there is no place for it that can be used
                      // (the empty path): the compasses stay, no satellite line
    OutOfRange,       // the azimuth is too large to hold: the press stops
    Abandoned,        // the yield reported that the canvas is gone
};

struct PlotRun {
    PlotEnd end = PlotEnd::Completed;
    // For the user, when the press did not complete, when a newer data file lies in the place's
    // other path (see NewerDataFileNote), or when the file's elevation puts satellite 1 below
    // the horizon.
    QString message;
};

// One START press: refuses a rotation text that is not one number (see CheckRotationInput)
// before touching the canvas; otherwise clears the canvas and draws the fixed compass, the compass
// turned by the rotation text (degrees), the centre dot, then satellite 1's direction from the data
// file with its arc and "alfa=" text. Between the compasses and the reading of the file it calls
// yield once, which lets pending window events run; when yield returns false the canvas may
// no longer exist and the press ends at once without touching it. The data file is the place's
// path, and none when it has none (its problem is then the message).
PlotRun DrawPlot(Canvas& canvas, const QString& rotationText, const DataFilePlace& place,
                 const std::function<bool()>& yield);

// The same picture at once for a rotation and satellite 1's azimuth as the data file holds it,
// without the file and the yield: the installation sheet's compass. False where the angles are
// too large to draw the satellite's line.
bool DrawPlotFor(Canvas& canvas, float rotation, double azimuth);
