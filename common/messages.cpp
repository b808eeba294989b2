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
#ifdef Q_OS_WASM
    // The browser has no nested event loop to wait in (exec() would throw): the box is shown
    // modal and goes when OK is pressed; every caller stops its action right after the message.
    auto* box = new QMessageBox(QMessageBox::NoIcon, title(), text, QMessageBox::Ok, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::ApplicationModal);
    box->show();
#else
    QMessageBox box(QMessageBox::NoIcon, title(), text, QMessageBox::Ok, parent);
    box.exec();
#endif
}

}  // namespace Messages
