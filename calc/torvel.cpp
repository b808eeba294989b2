#include "torvel.h"

#include "appdir.h"
#include "flin1.h"
#include "fris123.h"

TORVEL::TORVEL() {
    setWindowTitle(QStringLiteral("RASCHET"));
    m_appDir = AppDir();
    m_viewer = new FRIS123([this] { showMain(); });
    m_plot = new FLIN1([this] { showMain(); });
}

TORVEL::~TORVEL() {
    delete m_viewer;
    delete m_plot;
}

void TORVEL::showMain() {
    show();
    raise();
    activateWindow();
}
