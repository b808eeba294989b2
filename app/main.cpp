#include <QApplication>

#include "torvel.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    TORVEL mainWindow;
    mainWindow.show();
    return app.exec();
}
