#include <QApplication>

#include "torvel.h"

int main(int argc, char* argv[]) {
    // The per-user data directory, used for the direction data file where the program's own
    // directory is not writable, is named after the program: ~/.local/share/torvel. There is no
    // organisation name, so no extra folder level; the window titles stay as they are.
    QCoreApplication::setApplicationName(QStringLiteral("torvel"));
    QApplication app(argc, argv);
    TORVEL mainWindow;
    mainWindow.show();
    return app.exec();
}
