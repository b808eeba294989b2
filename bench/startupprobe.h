// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QEvent>
#include <QSet>
#include <QWidget>
#include <cstdio>

// Ends a start-up measurement: once every window the program shows has been drawn and the event
// loop then has nothing left to do (it is about to wait for new events), it writes "ready" to
// the standard output and quits. The parent process times the line from the moment it started
// the process.
class StartupProbe : public QObject {
public:
    StartupProbe() {
        qApp->installEventFilter(this);
        connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this,
                [this] {
                    if (allShownWindowsDrawn()) finish();
                });
    }

protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        if (event->type() == QEvent::Paint && object->isWidgetType() &&
            static_cast<QWidget*>(object)->isWindow())
            m_drawn.insert(object);
        return false;
    }

private:
    bool allShownWindowsDrawn() const {
        bool any = false;
        const auto windows = QApplication::topLevelWidgets();
        for (QWidget* window : windows) {
            if (!window->isVisible()) continue;
            if (!m_drawn.contains(window)) return false;
            any = true;
        }
        return any;
    }

    void finish() {
        if (m_done) return;
        m_done = true;
        std::fputs("ready\n", stdout);
        std::fflush(stdout);
        QCoreApplication::quit();
    }

    QSet<QObject*> m_drawn;
    bool m_done = false;
};
