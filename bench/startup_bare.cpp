// SPDX-License-Identifier: GPL-3.0-or-later
// The yardstick for the program's start-up: one plain window with the main window's controls (its
// labels, text boxes, buttons, lines and images, built from the main window's own layout) in the
// platform's default font, and nothing else: no fonts of its own, no calculation, no other
// windows. Built with BARE_SHORT_TEXTS, the labels, buttons and boxes carry short Latin texts
// instead. Built with BARE_SECOND_WINDOW, it also shows, first, a plain window built from the
// figure viewer's layout: the program opens that window at start-up too, so this yardstick
// compares like with like.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>

#include "controls.h"
#include "startupprobe.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    StartupProbe probe;

#ifdef BARE_SECOND_WINDOW
    QWidget second;
    BuildWindow(&second, Fris123Layout(), Fonts::PlatformDefault);
    second.show();
#endif

    QWidget window;
    BuildWindow(&window, TorvelLayout(), Fonts::PlatformDefault);
#ifdef BARE_SHORT_TEXTS
    int number = 0;
    for (QWidget* control : window.findChildren<QWidget*>()) {
        const QString text = QStringLiteral("Text %1").arg(++number);
        if (auto* label = qobject_cast<QLabel*>(control); label && !label->text().isEmpty())
            label->setText(text);
        if (auto* button = qobject_cast<QPushButton*>(control)) button->setText(text);
        if (auto* box = qobject_cast<QLineEdit*>(control); box && !box->text().isEmpty())
            box->setText(text);
    }
#endif
    QPixmap legend(45, 30);
    legend.fill(Qt::white);
    for (const char* name : {"Image3", "Image2"})
        window.findChild<QLabel*>(QLatin1String(name))->setPixmap(legend);
    window.show();
    return app.exec();
}
