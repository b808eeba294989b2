#pragma once

#include <QColor>
#include <QPoint>
#include <QString>
#include <QStringList>

// Drawing on the plot window. Positions and sizes are in twips from the top-left corner of the
// client area (15 twips make one pixel), line widths in pixels. The canvas keeps its drawing
// state (foreground colour, line width, fill style, drawing mode, text position) from one
// operation to the next, and from one picture to the next.
enum class DrawMode { Copy };
enum class FillStyle { Solid, Transparent };

class Canvas {
public:
    virtual ~Canvas() = default;

    // Fills the surface with the background colour and puts the text position at (0, 0).
    virtual void clear() = 0;
    virtual void setDrawMode(DrawMode mode) = 0;
    // Applies to lines, circle and arc outlines and points.
    virtual void setLineWidth(int pixels) = 0;
    // Solid fills closed circles and closed sectors with the fill colour.
    virtual void setFillStyle(FillStyle style) = 0;
    virtual void setForeColor(const QColor& color) = 0;
    // A line in its own colour; the foreground colour stays as it is.
    virtual void line(QPoint from, QPoint to, const QColor& color) = 0;
    virtual void circle(QPoint centre, int radius) = 0;
    // Angles in radians, anticlockwise on the screen from the direction pointing right; the arc
    // runs anticlockwise from start to end. A negative angle stands for its absolute value and
    // adds a radius from the centre to that end; with both negative the figure is a closed
    // sector, filled by the fill style. Angles beyond a whole turn are reduced by whole turns,
    // keeping their sign.
    virtual void arc(QPoint centre, int radius, double start, double end) = 0;
    // A round dot as wide as the line width.
    virtual void point(QPoint at) = 0;
    // The text with its top-left corner at the text position, on a transparent background; the
    // text position then moves to the start of the next line.
    virtual void print(const QString& text) = 0;
    virtual void setTextPosition(QPoint at) = 0;
};

// An arc angle brought into -2 pi..2 pi by whole turns, keeping its sign.
double ReduceArcAngle(double radians);

// Records every operation as a line of text (for instance "line 3020,108 3020,3108 0,0,255"),
// passing it on to another canvas if one is given. The window keeps one beside its picture so
// that what a press drew can be checked operation by operation.
class RecordingCanvas : public Canvas {
public:
    explicit RecordingCanvas(Canvas* forwardTo = nullptr) : m_next(forwardTo) {}

    const QStringList& operations() const { return m_operations; }
    void restart() { m_operations.clear(); }

    void clear() override;
    void setDrawMode(DrawMode mode) override;
    void setLineWidth(int pixels) override;
    void setFillStyle(FillStyle style) override;
    void setForeColor(const QColor& color) override;
    void line(QPoint from, QPoint to, const QColor& color) override;
    void circle(QPoint centre, int radius) override;
    void arc(QPoint centre, int radius, double start, double end) override;
    void point(QPoint at) override;
    void print(const QString& text) override;
    void setTextPosition(QPoint at) override;

private:
    Canvas* m_next;
    QStringList m_operations;
};
