#include "imagecanvas.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>
#include <cmath>

namespace {

constexpr double kTwipsPerPixel = 15.0;

QPointF pixels(QPoint twips) {
    return QPointF(qRound(twips.x() / kTwipsPerPixel), qRound(twips.y() / kTwipsPerPixel));
}

}  // namespace

ImageCanvas::ImageCanvas(QSize pixels, const QColor& background, const QColor& textColor,
                         const QFont& font)
    : m_size(pixels), m_background(background), m_fore(textColor), m_font(font) {}

void ImageCanvas::ensureImage() {
    if (!m_image.isNull()) return;
    m_image = QImage(m_size, QImage::Format_RGB32);
    m_image.fill(m_background);
}

void ImageCanvas::changed() {
    if (m_changed) m_changed();
}

void ImageCanvas::clear() {
    m_image = QImage();
    ensureImage();
    m_textPosition = QPoint(0, 0);
    changed();
}

void ImageCanvas::setDrawMode(DrawMode) {
    // Plain copy is the only mode, and the painter's own.
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
    ensureImage();
    QPainter painter(&m_image);
    painter.setPen(QPen(color, m_lineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawLine(pixels(from), pixels(to));
    changed();
}

void ImageCanvas::circle(QPoint centre, int radius) {
    ensureImage();
    QPainter painter(&m_image);
    painter.setPen(QPen(m_fore, m_lineWidth));
    painter.setBrush(m_fillStyle == FillStyle::Solid ? QBrush(m_fill) : QBrush(Qt::NoBrush));
    const double r = radius / kTwipsPerPixel;
    painter.drawEllipse(pixels(centre), r, r);
    changed();
}

void ImageCanvas::arc(QPoint centre, int radius, double start, double end) {
    const bool startRadius = start < 0;
    const bool endRadius = end < 0;
    const double from = std::fabs(ReduceArcAngle(start));
    const double to = std::fabs(ReduceArcAngle(end));
    double span = to - from;
    if (span < 0) span += 2 * M_PI;

    const QPointF c = pixels(centre);
    const double r = radius / kTwipsPerPixel;
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

    ensureImage();
    QPainter painter(&m_image);
    painter.setPen(QPen(m_fore, m_lineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(sector && m_fillStyle == FillStyle::Solid ? QBrush(m_fill)
                                                               : QBrush(Qt::NoBrush));
    painter.drawPath(path);
    changed();
}

void ImageCanvas::point(QPoint at) {
    ensureImage();
    QPainter painter(&m_image);
    if (m_lineWidth <= 1) {
        painter.setPen(m_fore);
        painter.drawPoint(pixels(at));
    } else {
        painter.setPen(Qt::NoPen);
        painter.setBrush(m_fore);
        painter.drawEllipse(pixels(at), m_lineWidth / 2.0, m_lineWidth / 2.0);
    }
    changed();
}

void ImageCanvas::print(const QString& text) {
    ensureImage();
    // Measured on the image itself, so that the line height matches what is painted.
    const QFontMetrics metrics(m_font, &m_image);
    const QPointF topLeft = pixels(m_textPosition);
    {
        QPainter painter(&m_image);
        painter.setFont(m_font);
        painter.setPen(m_fore);
        painter.drawText(QPointF(topLeft.x(), topLeft.y() + metrics.ascent()), text);
    }
    m_textPosition = QPoint(0, m_textPosition.y() + qRound(metrics.height() * kTwipsPerPixel));
    changed();
}

void ImageCanvas::setTextPosition(QPoint at) {
    m_textPosition = at;
}
