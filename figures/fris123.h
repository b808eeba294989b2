#pragma once

#include <QWidget>
#include <functional>

// The figure viewer "RIS123": eight explanatory pictures from the program directory in a fixed
// cycle. Constructing it loads it, and loading makes it visible with an empty picture box.
class FRIS123 : public QWidget {
    Q_OBJECT
public:
    // showMain brings the main window forward; "ВЫХОД" calls it after closing the viewer.
    explicit FRIS123(std::function<void()> showMain);

private:
    std::function<void()> m_showMain;
};
