// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls.h"

#include <QElapsedTimer>
#include <QEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <limits>

#include "uifont.h"

QFont ProgramFont(FontName name) {
    if (name == FontName::Default) {
        // The platform's dialog font at its own size and weight, in the program's sans face:
        // the font system's default face may be anything (Liberation Mono, where the Liberation
        // fonts are all there is).
        QFont font = QGuiApplication::font();
        font.setFamilies(UiFont(UiFace::SansSerif, FontOf(name).pointSize, false).families());
        font.setStyleHint(QFont::SansSerif);
        return font;
    }
    const FontChoice font = FontOf(name);
    return UiFont(font.serif ? UiFace::Serif : UiFace::SansSerif, font.pointSize, font.bold);
}

namespace {

QWidget* create(const Control& c, QWidget* parent) {
    const QString text = QString::fromUtf8(c.text);
    switch (c.kind) {
        case ControlKind::Label: {
            auto* label = new QLabel(text, parent);
            label->setTextFormat(Qt::PlainText);
            label->setWordWrap(true);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            return label;
        }
        case ControlKind::TextBox: {
            auto* box = new QLineEdit(text, parent);
            box->setMaxLength(std::numeric_limits<int>::max());
            box->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            return box;
        }
        case ControlKind::Button:
            return new QPushButton(text, parent);
        case ControlKind::Line: {
            auto* line = new QFrame(parent);
            line->setFrameShape(c.top == c.height ? QFrame::HLine : QFrame::VLine);
            line->setFrameShadow(QFrame::Plain);
            line->setLineWidth(c.lineWidth);
            return line;
        }
        case ControlKind::Image:
        case ControlKind::PictureBox: {
            auto* picture = new QLabel(parent);
            picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            if (c.kind == ControlKind::PictureBox) picture->setFocusPolicy(Qt::StrongFocus);
            return picture;
        }
    }
    return nullptr;
}

// A line's frame is as thick as the line and draws it through its middle, both end points
// included.
QRect lineRect(const Control& c) {
    const QPoint from = TwipsToPixels(QPoint(c.left, c.top));
    const QPoint to = TwipsToPixels(QPoint(c.width, c.height));
    const QRect ends = QRect(from, to).normalized();
    if (from.y() == to.y())
        return QRect(ends.left(), ends.top() - c.lineWidth / 2, ends.width(), c.lineWidth);
    return QRect(ends.left() - c.lineWidth / 2, ends.top(), c.lineWidth, ends.height());
}

// Holds a window at its size. The size hints ask the window manager to keep it; without a window
// manager, any program may still resize the window, and a window many thousands of pixels across
// takes its area's worth of memory. Another size is undone, at most once a second: a window
// manager that insists on its size replies to the request at once, and the window then gives in
// rather than answer each reply with another request.
class KeepSize : public QObject {
public:
    KeepSize(QWidget* window, QSize size) : QObject(window), m_size(size) {
        window->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* window = static_cast<QWidget*>(watched);
        if (event->type() == QEvent::Resize && window->size() != m_size &&
            (!m_lastUndone.isValid() || m_lastUndone.hasExpired(1000))) {
            m_lastUndone.start();
            window->resize(m_size);
        }
        return false;
    }

private:
    QSize m_size;
    QElapsedTimer m_lastUndone;
};

}  // namespace

void BuildWindow(QWidget* window, const WindowLayout& layout, Fonts fonts) {
    window->setWindowTitle(QString::fromUtf8(layout.caption));
    const bool programFonts = fonts == Fonts::Program;
    if (programFonts) window->setFont(ProgramFont(layout.font));
    // The controls have fixed places, so the window keeps its client size: a frame without a
    // maximise button, and a size that cannot be changed (a larger window would only show more
    // of its background, at the cost of its memory).
    window->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint);
    // A top-level widget's geometry is that of its client area; the frame keeps its title bar
    // around it.
    if (layout.fixedPosition)
        window->setGeometry(QRect(layout.screenPixels(), layout.clientPixels()));
    window->setFixedSize(layout.clientPixels());
    new KeepSize(window, layout.clientPixels());

    QHash<QByteArray, QWidget*> built;
    for (const Control& c : layout.controls) {
        QWidget* parent = c.parent ? built.value(c.parent, window) : window;
        QWidget* widget = create(c, parent);
        widget->setObjectName(QString::fromLatin1(c.name));
        widget->setGeometry(c.kind == ControlKind::Line ? lineRect(c) : c.pixelRect());
#if QT_CONFIG(accessibility)  // not in the browser's Qt, which has no screen reader to serve
        if (c.accessibleName) widget->setAccessibleName(QString::fromUtf8(c.accessibleName));
#endif
        if (c.toolTip) widget->setToolTip(QString::fromUtf8(c.toolTip));
        if (programFonts && c.font != layout.font && c.font != FontName::Default)
            widget->setFont(ProgramFont(c.font));
        built.insert(c.name, widget);
    }

    QWidget* previous = nullptr;
    for (const char* name : layout.focusOrder()) {
        QWidget* widget = built.value(name);
        if (previous) QWidget::setTabOrder(previous, widget);
        previous = widget;
    }
}
