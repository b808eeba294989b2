// SPDX-License-Identifier: GPL-3.0-or-later
// The program's start-up as app/main.cpp does it, with the start-up probe added.
#include <QApplication>

#include "appstart.h"
#include "startupprobe.h"
#include "torvel.h"

int main(int argc, char* argv[]) {
    SetApplicationNameAndVersion();
    QApplication app(argc, argv);
    SetDesktopIdentity();
    StartupProbe probe;
    TORVEL mainWindow;
    mainWindow.show();
    return app.exec();
}
