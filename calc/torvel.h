#pragma once

#include <QPointer>
#include <QWidget>

#include "startrun.h"

class FLIN1;
class FRIS123;

// The main window "RASCHET": the inputs for the site, the two satellites and the focal length,
// the results, and the buttons that run the calculation and open the other two windows.
class TORVEL : public QWidget {
    Q_OBJECT
public:
    TORVEL();
    ~TORVEL() override;

    // Brings the main window forward; the other windows' exit buttons call it.
    void showMain();

    // Show the direction plot and the figure viewer, loading each first if it was closed. The
    // buttons call these only once EditState is not 0.
    void showPlot();
    void showViewer();

    FLIN1* plotWindow() const;
    FRIS123* viewerWindow() const;

private:
    QString m_appDir;
    qint16 m_editState = 0;
    CarriedValues m_carried;
    QPointer<FRIS123> m_viewer;
    QPointer<FLIN1> m_plot;
};
