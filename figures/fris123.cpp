#include "fris123.h"

#include <QFileInfo>
#include <QImageReader>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

#include "appdir.h"
#include "controls.h"
#include "figurecycle.h"
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

    // Loading: the viewer's own program directory, the cycle from its start, and visible at once
    // with an empty picture box.
    m_appDir = AppDir();
    m_figureIndex = 0;
    show();
}

void FRIS123::showNextPicture() {
    const FigureStep step = NextFigure(m_figureIndex);
    const QString path = AppFilePath(m_appDir, step.fileName);
    QImageReader reader(path);
    const QImage image = reader.read();
    if (image.isNull()) {
        // The box keeps its picture and FigureIndex stays, so the next press asks for the same
        // file again.
        const QString problem =
            QFileInfo::exists(path)
                ? QStringLiteral("Файл рисунка %1 не удаётся прочитать как рисунок:")
                : QStringLiteral("Нет файла рисунка %1:");
        Messages::show(this, problem.arg(step.fileName) + u'\n' + path);
        return;
    }
    m_picture->setPixmap(QPixmap::fromImage(image));
    m_figureIndex = step.nextIndex;
}

void FRIS123::exitToMain() {
    // Closing unloads the viewer (it deletes itself once control returns to the event loop);
    // take the callback first so that nothing of the viewer is needed after the close.
    const std::function<void()> showMain = m_showMain;
    close();
    if (showMain) showMain();
}
