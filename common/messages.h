// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>

class QWidget;

// Every message the program shows goes through here: a box with the text, an OK button only, no
// icon, and the program's title. Tests install a handler that records the messages instead, so
// that no box ever waits for a click.
namespace Messages {

using Handler = std::function<void(QWidget* parent, const QString& text)>;

// The title of every message box.
QString title();

// Replaces the message box with the handler; an empty handler restores the box.
void setHandler(Handler handler);

void show(QWidget* parent, const QString& text);

}  // namespace Messages
