// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QString>

// The viewer's explanatory pictures, drawn in code. Each is at most as large as the viewer's
// picture box and leaves the top-left corner under the viewer's two buttons empty.
QImage DrawFigure(const QString& fileName);  // a null image for a name that is not in the cycle

// The program icon: a dish with its two feeds, square, with a transparent background.
QImage DrawIcon(int size);
