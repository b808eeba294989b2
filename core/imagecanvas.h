// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QImage>
#include <QPainter>
#include <functional>

#include "canvas.h"

// A canvas that paints onto an image of the plot's drawing area, each twip position rounded to
// the nearest pixel as the window's controls are. The window shows the image, so the picture
// survives being covered and uncovered. The image has the drawing's own size whatever the size of
// the window, in as many device pixels as the screen has per pixel, so that it is sharp on a
// scaled screen.
class ImageCanvas : public Canvas {
public:
    // The foreground colour starts as the given text colour and the fill style is transparent
    // until set; the fill colour is always black.
    ImageCanvas(QSize pixels, qreal devicePixelRatio, const QColor& background,
                const QColor& textColor, const QFont& font);

    // Paints with the caller's painter instead, one unit of its coordinates a pixel of the
    // drawing, within the given size: the installation sheet's compass on its PDF page. A font
    // given in pixels keeps its size there; the image stays empty.
    ImageCanvas(QPainter& painter, QSize pixels, const QColor& background, const QColor& textColor,
                const QFont& font);

    const QImage& image() const { return m_image; }
    // Called after every operation that changed the image.
    void setChanged(std::function<void()> changed) { m_changed = std::move(changed); }

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
    void changed();
    template <class Draw>
    void paint(Draw draw);

    QColor m_background;
    QColor m_fore;
    QFont m_font;
    int m_lineWidth = 1;
    FillStyle m_fillStyle = FillStyle::Transparent;
    QPoint m_textPosition;
    QSize m_size;
    QImage m_image;
    QPainter* m_painter = nullptr;
    std::function<void()> m_changed;
};
