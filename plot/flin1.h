#pragma once

#include <QWidget>
#include <functional>

// The direction plot window "CYRC1": a compass, the compass turned by the angle in POZIA, and
// satellite 1's direction from the direction data file. Constructing it loads it, hidden.
class FLIN1 : public QWidget {
    Q_OBJECT
public:
    // showMain brings the main window forward; EXIT calls it.
    explicit FLIN1(std::function<void()> showMain);

private:
    std::function<void()> m_showMain;
};
