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

void TORVEL::showPlot() {
    if (!m_plot) m_plot = new FLIN1([this] { showMain(); });
    m_plot->show();
    m_plot->raise();
    m_plot->activateWindow();
}

void TORVEL::showViewer() {
    // A viewer that is still open keeps its place in the picture cycle.
    if (!m_viewer) {
        m_viewer = new FRIS123([this] { showMain(); });
    } else {
        m_viewer->show();
    }
    m_viewer->raise();
    m_viewer->activateWindow();
}

FLIN1* TORVEL::plotWindow() const { return m_plot; }

FRIS123* TORVEL::viewerWindow() const { return m_viewer; }
