#include "flin1.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QPushButton>

#include "appdir.h"
#include "datafile.h"
#include "directionplot.h"
#include "messages.h"
#include "uifont.h"

namespace {

// Window positions are given in twips, 15 to the pixel.
QRect TwipRect(int left, int top, int width, int height) {
    return QRect(left / 15, top / 15, width / 15, height / 15);
}

const QSize kClientSize(5010 / 15, 3315 / 15);

}  // namespace

FLIN1::FLIN1(std::function<void()> showMain)
    : m_showMain(std::move(showMain)),
      m_image(kClientSize, palette().color(QPalette::Window), palette().color(QPalette::WindowText),
              UiFont(UiFace::SansSerif, 8.25, false)),
      m_recording(&m_image) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("CYRC1"));
    setFont(UiFont(UiFace::SansSerif, 8.25, false));
    resize(kClientSize);
    m_appDir = AppDir();

    m_start = new QPushButton(QStringLiteral("START"), this);
    m_start->setObjectName(QStringLiteral("START"));
    m_start->setGeometry(TwipRect(120, 120, 735, 375));

    m_exit = new QPushButton(QStringLiteral("EXIT"), this);
    m_exit->setObjectName(QStringLiteral("CMDEXIT"));
    m_exit->setGeometry(TwipRect(120, 2280, 615, 375));

    m_rotation = new QLineEdit(QStringLiteral("-20"), this);
    m_rotation->setObjectName(QStringLiteral("POZIA"));
    m_rotation->setGeometry(TwipRect(120, 1680, 615, 375));

    m_label = new QLabel(QStringLiteral(" сдвиг      осей        на        угол"), this);
    m_label->setObjectName(QStringLiteral("Label1"));
    m_label->setTextFormat(Qt::PlainText);
    m_label->setWordWrap(true);
    m_label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_label->setGeometry(TwipRect(120, 720, 615, 855));

    setTabOrder(m_start, m_exit);
    setTabOrder(m_exit, m_rotation);

    m_image.setChanged([this] { update(); });
    connect(m_start, &QPushButton::clicked, this, &FLIN1::startPressed);
    connect(m_exit, &QPushButton::clicked, this, [this] {
        if (m_showMain) m_showMain();
    });
}

void FLIN1::startPressed() {
    // The press yields to the event loop once: the window may be closed and deleted there, or
    // START pressed again (that press draws the whole picture, and this one then carries on
    // over it). Nothing of the window is touched once it is gone.
    QPointer<FLIN1> alive(this);
    m_recording.restart();
    const PlotRun run = DrawPlot(m_recording, m_rotation->text(), DataFilePath(m_appDir), [alive] {
        QCoreApplication::processEvents();
        return !alive.isNull();
    });
    if (run.end == PlotEnd::Abandoned || !alive) return;
    if (!run.message.isEmpty()) Messages::show(this, run.message);
}

void FLIN1::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, m_image.image());
}

void FLIN1::resizeEvent(QResizeEvent* event) {
    // The next START clears the whole client area as it then is.
    m_image.setSurfaceSize(size());
    QWidget::resizeEvent(event);
}
