// SPDX-License-Identifier: GPL-3.0-or-later
// What the page test (tests/web/page_test.py) asks the browser's program through the DevTools
// protocol: where a control is on the page, so that it clicks and types as a person would, and
// what a box shows, since the browser's Qt draws every text into one canvas. Nothing here changes
// the program.
#include <emscripten.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QWidget>

namespace {

// The control "WINDOW/NAME" (WINDOW the window's class: TORVEL, FLIN1, FRIS123) of a visible
// window; "WINDOW" alone is the window.
QWidget* control(const char* path) {
    const QStringList parts = QString::fromUtf8(path).split(u'/');
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (!window->isVisible() || QLatin1String(window->metaObject()->className()) != parts[0])
            continue;
        if (parts.size() == 1) return window;
        if (auto* child = window->findChild<QWidget*>(parts[1])) return child;
    }
    return nullptr;
}

const char* answer(const QString& text) {
    static QByteArray bytes;
    bytes = text.toUtf8();
    return bytes.constData();
}

}  // namespace

extern "C" {

// The text of the box, or "" when there is none.
EMSCRIPTEN_KEEPALIVE const char* torvel_test_box_text(const char* name) {
    auto* box = qobject_cast<QLineEdit*>(control(name));
    return answer(box ? box->text() : QString());
}

// The tooltip of the control.
EMSCRIPTEN_KEEPALIVE const char* torvel_test_tooltip(const char* name) {
    QWidget* widget = control(name);
    return answer(widget ? widget->toolTip() : QString());
}

// "x,y,width,height" of the control on the screen (the page's canvas, in CSS pixels); "" when
// no visible window has it.
EMSCRIPTEN_KEEPALIVE const char* torvel_test_rect(const char* name) {
    QWidget* widget = control(name);
    if (!widget || !widget->isVisible()) return answer(QString());
    const QPoint origin = widget->mapToGlobal(QPoint(0, 0));
    return answer(QStringLiteral("%1,%2,%3,%4")
                      .arg(origin.x())
                      .arg(origin.y())
                      .arg(widget->width())
                      .arg(widget->height()));
}

// The sizes of the pictures of the box's clear button ("16x16,32x32"), "" when it has none: the
// browser's program carries them itself instead of Qt's style pictures.
EMSCRIPTEN_KEEPALIVE const char* torvel_test_clear_button(const char* name) {
    QStringList sizes;
    if (auto* box = qobject_cast<QLineEdit*>(control(name)))
        if (auto* clear = box->findChild<QAction*>(QStringLiteral("_q_qlineeditclearaction")))
            for (const QSize& size : clear->icon().availableSizes())
                sizes += QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
    return answer(sizes.join(u','));
}

// Presses the button and returns how long its handler took, in milliseconds; -1 without it.
EMSCRIPTEN_KEEPALIVE double torvel_test_press(const char* name) {
    auto* button = qobject_cast<QAbstractButton*>(control(name));
    if (!button) return -1;
    QElapsedTimer timer;
    timer.start();
    button->click();
    return double(timer.nsecsElapsed()) / 1e6;
}
}
