// SPDX-License-Identifier: GPL-3.0-or-later
#include "imagecanvas.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>
#include <cmath>

#include "layout.h"

namespace {

const QColor kFill(0, 0, 0);

QPointF pixels(QPoint twips) {
    return TwipsToPixels(twips);
}

// A radius keeps its fraction of a pixel.
double pixels(int twips) {
    return double(twips) / kTwipsPerPixel;
}

}  // namespace

ImageCanvas::ImageCanvas(QSize size, qreal devicePixelRatio, const QColor& background,
                         const QColor& textColor, const QFont& font)
    : m_background(background),
      m_fore(textColor),
      m_font(font),
      m_size(size),
      m_image(size * devicePixelRatio, QImage::Format_RGB32) {
    m_image.setDevicePixelRatio(devicePixelRatio);
    m_image.fill(m_background);
}

ImageCanvas::ImageCanvas(QPainter& painter, QSize size, const QColor& background,
                         const QColor& textColor, const QFont& font)
    : m_background(background), m_fore(textColor), m_font(font), m_size(size), m_painter(&painter) {
    clear();
}

template <class Draw>
void ImageCanvas::paint(Draw draw) {
    if (m_painter) {
        m_painter->save();
        draw(*m_painter);
        m_painter->restore();
    } else {
        QPainter painter(&m_image);
        draw(painter);
    }
    changed();
}

void ImageCanvas::changed() {
    if (m_changed) m_changed();
}

void ImageCanvas::clear() {
    m_textPosition = QPoint(0, 0);
    if (!m_painter) {
        m_image.fill(m_background);
        changed();
        return;
    }
    paint(
        [this](QPainter& painter) { painter.fillRect(QRect(QPoint(0, 0), m_size), m_background); });
}

void ImageCanvas::setLineWidth(int pixels) {
    m_lineWidth = qMax(1, pixels);
}

void ImageCanvas::setFillStyle(FillStyle style) {
    m_fillStyle = style;
}

void ImageCanvas::setForeColor(const QColor& color) {
    m_fore = color;
}

void ImageCanvas::line(QPoint from, QPoint to, const QColor& color) {
    paint([&](QPainter& painter) {
        painter.setPen(QPen(color, m_lineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawLine(pixels(from), pixels(to));
    });
}

void ImageCanvas::circle(QPoint centre, int radius) {
    paint([&](QPainter& painter) {
        painter.setPen(QPen(m_fore, m_lineWidth));
        painter.setBrush(m_fillStyle == FillStyle::Solid ? QBrush(kFill) : QBrush(Qt::NoBrush));
        painter.drawEllipse(pixels(centre), pixels(radius), pixels(radius));
    });
}

void ImageCanvas::arc(QPoint centre, int radius, double start, double end) {
    const bool startRadius = start < 0;
    const bool endRadius = end < 0;
    const double from = ArcAngleMagnitude(start);
    double span = ArcAngleMagnitude(end) - from;
    if (span < 0) span += 2 * M_PI;

    const QPointF c = pixels(centre);
    const double r = pixels(radius);
    const QRectF box(c.x() - r, c.y() - r, 2 * r, 2 * r);
    QPainterPath path;
    if (startRadius) {
        // arcTo joins the current point, the centre, to the arc's start with a straight line.
        path.moveTo(c);
    } else {
        path.arcMoveTo(box, qRadiansToDegrees(from));
    }
    path.arcTo(box, qRadiansToDegrees(from), qRadiansToDegrees(span));
    if (endRadius) path.lineTo(c);
    const bool sector = startRadius && endRadius;
    if (sector) path.closeSubpath();

    paint([&](QPainter& painter) {
        painter.setPen(QPen(m_fore, m_lineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.setBrush(sector && m_fillStyle == FillStyle::Solid ? QBrush(kFill)
                                                                   : QBrush(Qt::NoBrush));
        painter.drawPath(path);
    });
}

void ImageCanvas::point(QPoint at) {
    paint([&](QPainter& painter) {
        if (m_lineWidth <= 1) {
            painter.setPen(m_fore);
            painter.drawPoint(pixels(at));
        } else {
            painter.setPen(Qt::NoPen);
            painter.setBrush(m_fore);
            painter.drawEllipse(pixels(at), m_lineWidth / 2.0, m_lineWidth / 2.0);
        }
    });
}

void ImageCanvas::print(const QString& text) {
    // Measured on the surface itself, so that the line height matches what is painted.
    const QFontMetrics metrics(
        m_font, m_painter ? m_painter->device() : static_cast<QPaintDevice*>(&m_image));
    const QPointF topLeft = pixels(m_textPosition);
    paint([&](QPainter& painter) {
        painter.setFont(m_font);
        painter.setPen(m_fore);
        painter.drawText(QPointF(topLeft.x(), topLeft.y() + metrics.ascent()), text);
    });
    m_textPosition = QPoint(0, m_textPosition.y() + metrics.height() * kTwipsPerPixel);
}

void ImageCanvas::setTextPosition(QPoint at) {
    m_textPosition = at;
}

QPoint ImageCanvas::textPositionInside(QPoint at, const QString& text) const {
    // The pixels the text colours, where print puts them: its top-left corner at the position.
    // On a caller's painter (the sheet's page) the font is given in pixels of the drawing, and
    // the image is empty: the drawing's own size bounds it there.
    const QFontMetrics metrics = m_painter ? QFontMetrics(m_font) : QFontMetrics(m_font, &m_image);
    const QRect ink =
        metrics.tightBoundingRect(text).translated(TwipsToPixels(at) + QPoint(0, metrics.ascent()));
    if (ink.isEmpty()) return at;
    // Whole pixels: the position keeps its place within its pixel.
    return at + ShiftInside(ink, m_size) * kTwipsPerPixel;
}
