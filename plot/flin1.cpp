// SPDX-License-Identifier: GPL-3.0-or-later
#include "flin1.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QPushButton>

#include "canvas.h"
#include "compassnote.h"
#include "controls.h"
#include "directionplot.h"
#include "imagecanvas.h"
#include "layout.h"
#include "messages.h"

FLIN1::FLIN1(DataFilePlace place, std::function<void()> showMain)
    : m_place(std::move(place)), m_showMain(std::move(showMain)) {
    setAttribute(Qt::WA_DeleteOnClose);
    const WindowLayout& layout = Flin1Layout();
    BuildWindow(this, layout);
    m_rotation = findChild<QLineEdit*>(QStringLiteral("POZIA"));
    m_rotationToolTip = m_rotation->toolTip();

    // The drawing keeps the size of the window's client area as it opens; a larger window shows
    // more of its background, nothing moves or scales.
    m_image = std::make_unique<ImageCanvas>(
        layout.clientPixels(), devicePixelRatioF(), palette().color(QPalette::Window),
        palette().color(QPalette::WindowText), ProgramFont(layout.font));
    m_recording = std::make_unique<RecordingCanvas>(m_image.get());
    m_image->setChanged([this] { update(); });

    connect(findChild<QPushButton*>(QStringLiteral("START")), &QPushButton::clicked, this,
            &FLIN1::startPressed);
    connect(findChild<QPushButton*>(QStringLiteral("CMDEXIT")), &QPushButton::clicked, this,
            [this] {
                if (m_showMain) m_showMain();
            });
}

FLIN1::~FLIN1() = default;

void FLIN1::setRotationNote(const QString& note) {
    m_rotation->setToolTip(WithNote(m_rotationToolTip, note));
}

const QImage& FLIN1::picture() const {
    return m_image->image();
}

void FLIN1::startPressed() {
    // The press yields to the event loop once: the window may be closed and deleted there, or
    // START pressed again (that press draws the whole picture, and this one then carries on
    // over it). Nothing of the window is touched once it is gone.
    QPointer<FLIN1> alive(this);
    m_recording->restart();
    const PlotRun run = DrawPlot(*m_recording, m_rotation->text(), m_place, [alive] {
        QCoreApplication::processEvents();
        return !alive.isNull();
    });
    if (run.end == PlotEnd::Abandoned || !alive) return;
    if (run.end == PlotEnd::RefusedInput) {
        m_rotation->setFocus();
        m_rotation->selectAll();
    }
    if (!run.message.isEmpty()) Messages::show(this, run.message);
}

void FLIN1::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, m_image->image());
}
