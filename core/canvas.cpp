#include "canvas.h"

#include <QtMath>
#include <cmath>

namespace {

constexpr double kFullTurn = 2 * M_PI;

QString text(QPoint p) {
    return QStringLiteral("%1,%2").arg(p.x()).arg(p.y());
}

QString text(const QColor& c) {
    return QStringLiteral("%1,%2,%3").arg(c.red()).arg(c.green()).arg(c.blue());
}

}  // namespace

double ReduceArcAngle(double radians) {
    const double magnitude = std::fabs(radians);
    if (magnitude <= kFullTurn) return radians;
    const double reduced = std::fmod(magnitude, kFullTurn);
    return radians < 0 ? -reduced : reduced;
}

void RecordingCanvas::clear() {
    m_operations << QStringLiteral("clear");
    if (m_next) m_next->clear();
}

void RecordingCanvas::setDrawMode(DrawMode mode) {
    m_operations << QStringLiteral("mode copy");
    if (m_next) m_next->setDrawMode(mode);
}

void RecordingCanvas::setLineWidth(int pixels) {
    m_operations << QStringLiteral("width %1").arg(pixels);
    if (m_next) m_next->setLineWidth(pixels);
}

void RecordingCanvas::setFillStyle(FillStyle style) {
    m_operations << (style == FillStyle::Solid ? QStringLiteral("fill solid")
                                               : QStringLiteral("fill transparent"));
    if (m_next) m_next->setFillStyle(style);
}

void RecordingCanvas::setForeColor(const QColor& color) {
    m_operations << QStringLiteral("fore ") + text(color);
    if (m_next) m_next->setForeColor(color);
}

void RecordingCanvas::line(QPoint from, QPoint to, const QColor& color) {
    m_operations << QStringLiteral("line %1 %2 %3").arg(text(from), text(to), text(color));
    if (m_next) m_next->line(from, to, color);
}

void RecordingCanvas::circle(QPoint centre, int radius) {
    m_operations << QStringLiteral("circle %1 %2").arg(text(centre)).arg(radius);
    if (m_next) m_next->circle(centre, radius);
}

void RecordingCanvas::arc(QPoint centre, int radius, double start, double end) {
    // Six significant digits: the angles are single-precision values.
    m_operations << QStringLiteral("arc %1 %2 %3 %4")
                        .arg(text(centre))
                        .arg(radius)
                        .arg(start, 0, 'g', 6)
                        .arg(end, 0, 'g', 6);
    if (m_next) m_next->arc(centre, radius, start, end);
}

void RecordingCanvas::point(QPoint at) {
    m_operations << QStringLiteral("point ") + text(at);
    if (m_next) m_next->point(at);
}

void RecordingCanvas::print(const QString& line) {
    m_operations << QStringLiteral("print \"%1\"").arg(line);
    if (m_next) m_next->print(line);
}

void RecordingCanvas::setTextPosition(QPoint at) {
    m_operations << QStringLiteral("at ") + text(at);
    if (m_next) m_next->setTextPosition(at);
}
