#pragma once

#include <QFont>

// The program's fonts by face, point size and weight. Where MS Sans Serif or Times New Roman is
// not installed, the nearest face of the same kind that is (Liberation, then DejaVu) is used.
enum class UiFace { SansSerif, Serif };

QFont UiFont(UiFace face, qreal pointSize, bool bold);
