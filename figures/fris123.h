// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>
#include <functional>
#include <optional>

class QLabel;

// The figure viewer "RIS123": eight explanatory pictures from the program directory in a fixed
// cycle. Constructing it loads it, and loading makes it visible with an empty picture box.
class FRIS123 : public QWidget {
    Q_OBJECT
public:
    // showMain brings the main window forward; "ВЫХОД" calls it after closing the viewer.
    explicit FRIS123(std::function<void()> showMain);

    // The picture the next press of "PИС.1,2,3" shows (see NextFigure).
    qint16 figureIndex() const { return m_figureIndex; }

private:
    void showNextPicture();
    void exitToMain();

    std::function<void()> m_showMain;
    std::optional<QString> m_appDir;
    qint16 m_figureIndex = 0;
    QLabel* m_picture = nullptr;
};
