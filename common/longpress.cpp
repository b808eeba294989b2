// SPDX-License-Identifier: GPL-3.0-or-later
#include "longpress.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMouseEvent>
#include <QToolTip>
#include <QWidget>

LongPressToolTips::LongPressToolTips(QObject* parent) : QObject(parent) {
    m_timer.setSingleShot(true);
    m_timer.setInterval(kHoldMs);
    connect(&m_timer, &QTimer::timeout, this, &LongPressToolTips::showToolTip);
    qApp->installEventFilter(this);
}

bool LongPressToolTips::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::MouseButtonPress: {
            auto* press = static_cast<QMouseEvent*>(event);
            auto* widget = qobject_cast<QWidget*>(watched);
            if (widget && press->source() == Qt::MouseEventSynthesizedByQt) {
                m_widget = widget;
                m_shown = false;
                m_globalPos = press->globalPosition().toPoint();
                m_timer.start();
            }
            break;
        }
        case QEvent::MouseMove:
            if (m_timer.isActive() &&
                (static_cast<QMouseEvent*>(event)->globalPosition().toPoint() - m_globalPos)
                        .manhattanLength() > kSlopPixels)
                m_timer.stop();
            break;
        case QEvent::MouseButtonRelease:
            m_timer.stop();
            if (m_shown && watched == m_widget) {
                m_shown = false;
                // Lifting the finger closes every tooltip: this one opens again at once and
                // stays until the next tap. A held button is let go without being pressed.
                QTimer::singleShot(0, this, &LongPressToolTips::showToolTip);
                if (auto* button = qobject_cast<QAbstractButton*>(m_widget.data())) {
                    button->setDown(false);
                    return true;
                }
            }
            break;
        default:
            break;
    }
    return QObject::eventFilter(watched, event);
}

void LongPressToolTips::showToolTip() {
    // The control under the finger, or the nearest of its parents that has a tooltip.
    for (QWidget* widget = m_widget; widget; widget = widget->parentWidget()) {
        if (!widget->toolTip().isEmpty()) {
            QToolTip::showText(m_globalPos, widget->toolTip(), widget);
            m_shown = true;
            return;
        }
        if (widget->isWindow()) return;
    }
}
