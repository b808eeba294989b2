#include "fris123.h"

#include <QFileInfo>
#include <QImageReader>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

#include "appdir.h"
#include "figurecycle.h"
#include "messages.h"

namespace {
// Sizes and positions in pixels, from the top-left corner of the client area.
constexpr int ClientLeft = 124;
constexpr int ClientTop = 102;
constexpr int ClientWidth = 424;
constexpr int ClientHeight = 333;
constexpr int PictureWidth = 585;
constexpr int PictureHeight = 396;
constexpr int ButtonLeft = 16;
constexpr int ButtonWidth = 65;
constexpr int ButtonHeight = 25;
}  // namespace

FRIS123::FRIS123(std::function<void()> showMain) : m_showMain(std::move(showMain)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("RIS123"));
    // A top-level widget's geometry is that of its client area, so this places the client area
    // itself at the fixed start-up position; the frame keeps its title bar and resize border.
    setGeometry(ClientLeft, ClientTop, ClientWidth, ClientHeight);

    // The picture box is larger than the client area and is cut off by its right and bottom
    // edges; it never scales itself or its picture.
    m_picture = new QLabel(this);
    m_picture->setObjectName(QStringLiteral("Picture1"));
    m_picture->setGeometry(0, 0, PictureWidth, PictureHeight);
    m_picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_picture->setFocusPolicy(Qt::StrongFocus);

    // The buttons belong to the picture box, so they stay on top of whatever picture it shows.
    m_exit = new QPushButton(QStringLiteral("ВЫХОД"), m_picture);
    m_exit->setObjectName(QStringLiteral("cmd1"));
    m_exit->setGeometry(ButtonLeft, 8, ButtonWidth, ButtonHeight);
    m_next = new QPushButton(QStringLiteral("PИС.1,2,3"), m_picture);  // Latin P, Cyrillic ИС
    m_next->setObjectName(QStringLiteral("RISYNOK"));
    m_next->setGeometry(ButtonLeft, 48, ButtonWidth, ButtonHeight);
    setTabOrder(m_picture, m_exit);
    setTabOrder(m_exit, m_next);

    connect(m_next, &QPushButton::clicked, this, &FRIS123::showNextPicture);
    connect(m_exit, &QPushButton::clicked, this, &FRIS123::exitToMain);

    // Loading: the viewer's own program directory, the cycle from its start, and visible at once
    // with an empty picture box.
    m_appDir = AppDir();
    m_figureIndex = 0;
    hide();
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
