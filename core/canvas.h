// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

// Drawing on the plot window. Positions and sizes are in twips from the top-left corner of the
// client area, line widths in pixels. The canvas keeps its drawing state (foreground colour, line
// width, fill style, text position) from one operation to the next, and from one picture to the
// next. It always draws in plain copy mode: the pen's colour replaces what is underneath.
enum class FillStyle { Solid, Transparent };

class Canvas {
public:
    virtual ~Canvas() = default;

    // Fills the surface with the background colour and puts the text position at (0, 0).
    virtual void clear() = 0;
    // Applies to lines, circle and arc outlines and points.
    virtual void setLineWidth(int pixels) = 0;
    // Solid fills closed circles and closed sectors with the fill colour, black.
    virtual void setFillStyle(FillStyle style) = 0;
    virtual void setForeColor(const QColor& color) = 0;
    // A line in its own colour; the foreground colour stays as it is.
    virtual void line(QPoint from, QPoint to, const QColor& color) = 0;
    virtual void circle(QPoint centre, int radius) = 0;
    // Angles in radians, anticlockwise on the screen from the direction pointing right; the arc
    // runs anticlockwise from start to end. A negative angle stands for its absolute value and
    // adds a radius from the centre to that end; with both negative the figure is a closed
    // sector, filled by the fill style. Angles beyond a whole turn are reduced by whole turns.
    virtual void arc(QPoint centre, int radius, double start, double end) = 0;
    // A round dot as wide as the line width.
    virtual void point(QPoint at) = 0;
    // The text with its top-left corner at the text position, on a transparent background; the
    // text position then moves to the start of the next line.
    virtual void print(const QString& text) = 0;
    virtual void setTextPosition(QPoint at) = 0;
    // The text position nearest to at from which every pixel of the text lies on the surface:
    // at itself when the text fits there. A canvas that draws no pixels keeps at.
    virtual QPoint textPositionInside(QPoint at, const QString& text) const = 0;
};

// The least whole-pixel shift that brings the rectangle fully into an area of the given size
// whose top-left corner is (0, 0); none when it lies inside. A rectangle larger than the area is
// brought to its left or top edge.
QPoint ShiftInside(const QRect& rectangle, const QSize& area);

// The size of an arc angle (its sign only says whether a radius is drawn), reduced by whole
// turns into 0..2 pi. Whole turns are counted with the full value of pi.
double ArcAngleMagnitude(double radians);

// One drawing operation as the recording canvas keeps it.
struct DrawOp {
    enum class Kind {
        Clear,
        LineWidth,
        FillStyle,
        ForeColor,
        Line,
        Circle,
        Arc,
        Point,
        Print,
        TextPosition
    };
    Kind kind = Kind::Clear;
    QPoint at, to;    // a point's, circle's, arc's or text position's place; a line's two ends
    QColor color;     // a line's colour, a new foreground colour
    int number = 0;   // a line width, a radius, a fill style
    float start = 0;  // an arc's angles: single-precision values, compared as such
    float end = 0;
    QString text;  // printed text

    static DrawOp clear() { return {}; }
    static DrawOp lineWidth(int pixels) { return with(Kind::LineWidth).withNumber(pixels); }
    static DrawOp fillStyle(FillStyle style) {
        return with(Kind::FillStyle).withNumber(int(style));
    }
    static DrawOp foreColor(const QColor& c) { return with(Kind::ForeColor).withColor(c); }
    static DrawOp line(QPoint from, QPoint to, const QColor& c) {
        DrawOp op = with(Kind::Line).withColor(c);
        op.at = from;
        op.to = to;
        return op;
    }
    static DrawOp circle(QPoint centre, int radius) {
        return with(Kind::Circle, centre).withNumber(radius);
    }
    static DrawOp arc(QPoint centre, int radius, float start, float end) {
        DrawOp op = with(Kind::Arc, centre).withNumber(radius);
        op.start = start;
        op.end = end;
        return op;
    }
    static DrawOp point(QPoint at) { return with(Kind::Point, at); }
    static DrawOp print(const QString& text) {
        DrawOp op = with(Kind::Print);
        op.text = text;
        return op;
    }
    static DrawOp textPosition(QPoint at) { return with(Kind::TextPosition, at); }

    // Arc angles are equal when they agree to single precision's 6 significant digits.
    bool operator==(const DrawOp& other) const;
    bool operator!=(const DrawOp& other) const { return !(*this == other); }
    // For test failures: "line 3020,108 3020,3108 #0000ff" and the like.
    QString toString() const;

private:
    static DrawOp with(Kind kind, QPoint at = {}) {
        DrawOp op;
        op.kind = kind;
        op.at = at;
        return op;
    }
    DrawOp withNumber(int n) const {
        DrawOp op = *this;
        op.number = n;
        return op;
    }
    DrawOp withColor(const QColor& c) const {
        DrawOp op = *this;
        op.color = c;
        return op;
    }
};

// Records every operation, passing it on to another canvas if one is given. The window keeps one
// beside its picture so that what a press drew can be checked operation by operation.
class RecordingCanvas : public Canvas {
public:
    explicit RecordingCanvas(Canvas* forwardTo = nullptr) : m_next(forwardTo) {}

    const QList<DrawOp>& operations() const { return m_operations; }
    void restart() { m_operations.clear(); }

    void clear() override;
    void setLineWidth(int pixels) override;
    void setFillStyle(FillStyle style) override;
    void setForeColor(const QColor& color) override;
    void line(QPoint from, QPoint to, const QColor& color) override;
    void circle(QPoint centre, int radius) override;
    void arc(QPoint centre, int radius, double start, double end) override;
    void point(QPoint at) override;
    void print(const QString& text) override;
    void setTextPosition(QPoint at) override;
    QPoint textPositionInside(QPoint at, const QString& text) const override;

private:
    void record(const DrawOp& op) { m_operations.append(op); }

    Canvas* m_next;
    QList<DrawOp> m_operations;
};
