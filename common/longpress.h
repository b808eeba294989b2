// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QTimer>

class QWidget;

// On a touch screen nothing hovers, so no tooltip ever opens by itself: a finger held still on a
// control for kHoldMs shows its tooltip, as the mouse resting on it does. Only presses that Qt
// made from a touch count; the mouse keeps its own tooltips.
class LongPressToolTips : public QObject {
    Q_OBJECT

public:
    static constexpr int kHoldMs = 600;
    // A finger that moves farther than this, in pixels, is scrolling or aiming, not holding.
    static constexpr int kSlopPixels = 12;

    // Watches every window of the application.
    explicit LongPressToolTips(QObject* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showToolTip();

    QTimer m_timer;
    QPointer<QWidget> m_widget;
    QPoint m_globalPos;
    bool m_shown = false;  // the held control's tooltip is open
};
