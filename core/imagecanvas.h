#pragma once

#include <QFont>
#include <QImage>
#include <functional>

#include "canvas.h"

// A canvas that paints onto an image of the window's client area, at 15 twips to the pixel.
// The window shows the image, so the picture survives being covered and uncovered.
class ImageCanvas : public Canvas {
public:
    // The foreground colour starts as the given text colour, the fill colour is black and the
    // fill style transparent until set.
    ImageCanvas(QSize pixels, const QColor& background, const QColor& textColor, const QFont& font);

    // The size the image takes at the next clear; what is drawn stays as it is.
    void setSurfaceSize(QSize pixels) { m_size = pixels; }
    const QImage& image() const { return m_image; }
    // Called after every operation that changed the image.
    void setChanged(std::function<void()> changed) { m_changed = std::move(changed); }

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
    void ensureImage();
    void changed();

    QSize m_size;
    QColor m_background;
    QColor m_fore;
    QColor m_fill = Qt::black;
    QFont m_font;
    int m_lineWidth = 1;
    FillStyle m_fillStyle = FillStyle::Transparent;
    QPoint m_textPosition;
    QImage m_image;
    std::function<void()> m_changed;
};
