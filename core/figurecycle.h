// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QtGlobal>

// One step of the viewer's picture cycle: the file a press of "PИС.1,2,3" shows and the
// FigureIndex that holds once that picture is on screen.
struct FigureStep {
    QString fileName;
    qint16 nextIndex;
};

// The step for the current FigureIndex. An index of 0 or less starts the cycle at GDS001.BMP, 1 to
// 6 go on through the pictures, and anything above 6 shows 5k.BMP and wraps round to 0.
FigureStep NextFigure(qint16 figureIndex);

// The number of pictures in the cycle.
constexpr int FigureCount = 8;
