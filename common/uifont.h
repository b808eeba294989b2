// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QStringList>

// The program's fonts by face, point size and weight. The window layout is measured in the
// metrics of Liberation Sans and Liberation Serif (the same as Arial's and Times New Roman's).
// Where MS Sans Serif or Times New Roman is not installed, Liberation is used; where the system
// lacks Liberation too, the program uses the Liberation files it carries beside itself (the
// portable folder), and only where those are missing as well DejaVu or the font system's choice.
enum class UiFace { SansSerif, Serif };

QFont UiFont(UiFace face, qreal pointSize, bool bold);

// What the program says, once, when it finds no face of its lists, no carried files, and no other
// face that writes Cyrillic either.
QString MissingFontsMessage();

// The folder beside the executable that carries the Liberation files, and the files it holds:
// exactly the faces and weights the windows use.
inline const QString kCarriedFontFolder = QStringLiteral("fonts");
inline const QStringList kCarriedFontFiles = {QStringLiteral("LiberationSans-Regular.ttf"),
                                              QStringLiteral("LiberationSans-Bold.ttf"),
                                              QStringLiteral("LiberationSerif-Bold.ttf")};
