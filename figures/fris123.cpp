// SPDX-License-Identifier: GPL-3.0-or-later
#include "fris123.h"

#include <QLabel>
#include <QPixmap>
#include <QPushButton>

#include "appdir.h"
#include "controls.h"
#include "figurecycle.h"
#include "figurepicture.h"
#include "messages.h"

FRIS123::FRIS123(std::function<void()> showMain) : m_showMain(std::move(showMain)) {
    setAttribute(Qt::WA_DeleteOnClose);
    // The buttons belong to the picture box, so they stay on top of whatever picture it shows;
    // the box never scales itself or its picture.
    BuildWindow(this, Fris123Layout());
    m_picture = findChild<QLabel*>(QStringLiteral("Picture1"));
    connect(findChild<QPushButton*>(QStringLiteral("RISYNOK")), &QPushButton::clicked, this,
            &FRIS123::showNextPicture);
    connect(findChild<QPushButton*>(QStringLiteral("cmd1")), &QPushButton::clicked, this,
            &FRIS123::exitToMain);

    // Loading: the viewer's own program directory (none when its path cannot be used), the cycle
    // from its start, and visible at once with an empty picture box.
    m_appDir = AppDir();
    m_figureIndex = 0;
    showNormal();
}

void FRIS123::showNextPicture() {
    // A picture that cannot be shown leaves the box with its picture and FigureIndex as it is,
    // so the next press asks for the same file again.
    if (!m_appDir) {
        Messages::show(this, UnusableAppDirMessage());
        return;
    }
    const FigureStep step = NextFigure(m_figureIndex);
    const QString path = AppFilePath(*m_appDir, step.fileName);
    const PictureLoad load = LoadPicture(path);
    if (load.image.isNull()) {
        const QString problem =
            load.problem == ReadProblem::Missing
                ? QStringLiteral("Нет файла рисунка %1:")
                : QStringLiteral("Файл рисунка %1 не удаётся прочитать как рисунок:");
        Messages::show(
            this,
            QStringLiteral("%1\n%2\n(%3).").arg(problem.arg(step.fileName), path, load.reason));
        return;
    }
    m_picture->setPixmap(QPixmap::fromImage(load.image));
    m_figureIndex = step.nextIndex;
}

void FRIS123::exitToMain() {
    // Closing unloads the viewer (it deletes itself once control returns to the event loop);
    // take the callback first so that nothing of the viewer is needed after the close.
    const std::function<void()> showMain = m_showMain;
    close();
    if (showMain) showMain();
}
