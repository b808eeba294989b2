// SPDX-License-Identifier: GPL-3.0-or-later
#include "messages.h"

#include <QMessageBox>

namespace {
Messages::Handler& currentHandler() {
    static Messages::Handler handler;
    return handler;
}
}  // namespace

namespace Messages {

QString title() {
    return QStringLiteral("RASCHET");
}

void setHandler(Handler handler) {
    currentHandler() = std::move(handler);
}

void show(QWidget* parent, const QString& text) {
    if (currentHandler()) {
        currentHandler()(parent, text);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, title(), text, QMessageBox::Ok, parent);
    box.exec();
}

}  // namespace Messages
