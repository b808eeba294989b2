// The program's start-up as app/main.cpp does it, with the start-up probe added.
#include <QApplication>

#include "startupprobe.h"
#include "torvel.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    StartupProbe probe;
    TORVEL mainWindow;
    mainWindow.show();
    return app.exec();
}
