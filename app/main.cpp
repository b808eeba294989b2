// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <QScreen>
#include <QTextStream>
#include <algorithm>
#include <cstdio>

#include "appstart.h"
#include "console.h"
#include "controls.h"
#include "longpress.h"
#include "torvel.h"

int main(int argc, char* argv[]) {
    SetApplicationNameAndVersion();
    // --help, --version and a mistaken command line are answered before the application object
    // exists, so they work without a display and start nothing else.
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    if (argc > 1) UseParentConsole();
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (const std::optional<int> exitCode = HandleCommandLine(arguments, out, err))
        return *exitCode;
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN) && !defined(Q_OS_WASM)
    // Without a display Qt would abort with its own English advice; the program says what is
    // missing in one line and ends.
    if (const std::optional<QString> missing =
            MissingDisplay(arguments, QProcessEnvironment::systemEnvironment())) {
        err << *missing << '\n';
        return 1;
    }
#endif

    QApplication app(argc, argv);
    SetDesktopIdentity();
    // Message boxes, tooltips and dialogs in the program's sans face as well, never the font
    // system's default face (Liberation Mono where the Liberation fonts are all there is).
    QApplication::setFont(ProgramFont(FontName::Default));
    LongPressToolTips toolTips;
    TORVEL mainWindow;
    // At its own size: a browser would otherwise stretch every window to the whole page.
    mainWindow.showNormal();
#ifdef Q_OS_WASM
    // A computer's browser gives a screen wider than the window: the window in its middle.
    if (const QScreen* screen = mainWindow.screen()) {
        const QRect area = screen->availableGeometry();
        mainWindow.move(
            area.x() + std::max(0, (area.width() - mainWindow.frameGeometry().width()) / 2),
            area.y());
    }
#endif
    return app.exec();
}
