// SPDX-License-Identifier: GPL-3.0-or-later
#include "canvas.h"

#include <algorithm>
#include <cmath>

double ArcAngleMagnitude(double radians) {
    const double fullTurn = 2 * M_PI;
    const double magnitude = std::fabs(radians);
    return magnitude <= fullTurn ? magnitude : std::fmod(magnitude, fullTurn);
}

namespace {

bool sameAngle(float a, float b) {
    return std::fabs(a - b) <= 5e-6f * std::fmax(1.0f, std::fmax(std::fabs(a), std::fabs(b)));
}

QString pointText(QPoint p) {
    return QStringLiteral("%1,%2").arg(p.x()).arg(p.y());
}

}  // namespace

bool DrawOp::operator==(const DrawOp& o) const {
    return kind == o.kind && at == o.at && to == o.to && color == o.color && number == o.number &&
           sameAngle(start, o.start) && sameAngle(end, o.end) && text == o.text;
}

QString DrawOp::toString() const {
    switch (kind) {
        case Kind::Clear:
            return QStringLiteral("clear");
        case Kind::LineWidth:
            return QStringLiteral("width %1").arg(number);
        case Kind::FillStyle:
            return number == int(FillStyle::Solid) ? QStringLiteral("fill solid")
                                                   : QStringLiteral("fill transparent");
        case Kind::ForeColor:
            return QStringLiteral("fore ") + color.name();
        case Kind::Line:
            return QStringLiteral("line %1 %2 %3").arg(pointText(at), pointText(to), color.name());
        case Kind::Circle:
            return QStringLiteral("circle %1 %2").arg(pointText(at)).arg(number);
        case Kind::Arc:
            return QStringLiteral("arc %1 %2 %3 %4")
                .arg(pointText(at))
                .arg(number)
                .arg(double(start), 0, 'g', 6)
                .arg(double(end), 0, 'g', 6);
        case Kind::Point:
            return QStringLiteral("point ") + pointText(at);
        case Kind::Print:
            return QStringLiteral("print \"%1\"").arg(text);
        case Kind::TextPosition:
            return QStringLiteral("at ") + pointText(at);
    }
    return QString();
}

void RecordingCanvas::clear() {
    record(DrawOp::clear());
    if (m_next) m_next->clear();
}

void RecordingCanvas::setLineWidth(int pixels) {
    record(DrawOp::lineWidth(pixels));
    if (m_next) m_next->setLineWidth(pixels);
}

void RecordingCanvas::setFillStyle(FillStyle style) {
    record(DrawOp::fillStyle(style));
    if (m_next) m_next->setFillStyle(style);
}

void RecordingCanvas::setForeColor(const QColor& color) {
    record(DrawOp::foreColor(color));
    if (m_next) m_next->setForeColor(color);
}

void RecordingCanvas::line(QPoint from, QPoint to, const QColor& color) {
    record(DrawOp::line(from, to, color));
    if (m_next) m_next->line(from, to, color);
}

void RecordingCanvas::circle(QPoint centre, int radius) {
    record(DrawOp::circle(centre, radius));
    if (m_next) m_next->circle(centre, radius);
}

void RecordingCanvas::arc(QPoint centre, int radius, double start, double end) {
    record(DrawOp::arc(centre, radius, float(start), float(end)));
    if (m_next) m_next->arc(centre, radius, start, end);
}

void RecordingCanvas::point(QPoint at) {
    record(DrawOp::point(at));
    if (m_next) m_next->point(at);
}

void RecordingCanvas::print(const QString& text) {
    record(DrawOp::print(text));
    if (m_next) m_next->print(text);
}

void RecordingCanvas::setTextPosition(QPoint at) {
    record(DrawOp::textPosition(at));
    if (m_next) m_next->setTextPosition(at);
}

QPoint RecordingCanvas::textPositionInside(QPoint at, const QString& text) const {
    return m_next ? m_next->textPositionInside(at, text) : at;
}

QPoint ShiftInside(const QRect& rectangle, const QSize& area) {
    auto shift = [](int low, int high, int size) {
        if (low < 0) return -low;
        if (high > size) return std::max(size - high, -low);
        return 0;
    };
    return QPoint(shift(rectangle.left(), rectangle.left() + rectangle.width(), area.width()),
                  shift(rectangle.top(), rectangle.top() + rectangle.height(), area.height()));
}
