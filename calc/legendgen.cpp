// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the two sign legends of the main window, 45 x 30 pixel 24-bit bitmaps, into the folder
// given as the only argument. The build runs it and embeds its output as resources, so the
// pictures come from this code alone and are the same on every build.
//
// Both show a feed from the side: a grey cylindrical body with a yellow ring at its left end. The
// plus legend has a red arrow pointing down on the ring and a black plus on the body; the minus
// legend has the arrow pointing up and a black minus.

#include <QColor>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPolygon>
#include <cstdio>

namespace {

constexpr int kWidth = 45;
constexpr int kHeight = 30;

QImage legend(bool plus) {
    QImage image(kWidth, kHeight, QImage::Format_RGB888);
    image.fill(QColor(255, 255, 255));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);

    // Body: a grey cylinder with a darker outline and a lighter top edge.
    painter.setPen(QColor(64, 64, 64));
    painter.setBrush(QColor(176, 176, 176));
    painter.drawRect(9, 6, 34, 17);
    painter.setPen(QColor(224, 224, 224));
    painter.drawLine(10, 8, 42, 8);

    // Ring at the left end of the body.
    painter.setPen(QColor(96, 80, 0));
    painter.setBrush(QColor(255, 221, 0));
    painter.drawRect(3, 2, 7, 25);

    // Red arrow on the ring: a shaft and a head, down for plus and up for minus.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(220, 0, 0));
    painter.drawRect(6, 4, 2, 22);
    const QPolygon head = plus ? QPolygon({QPoint(2, 20), QPoint(12, 20), QPoint(7, 28)})
                               : QPolygon({QPoint(2, 9), QPoint(12, 9), QPoint(7, 1)});
    painter.drawPolygon(head);

    // The sign on the body.
    painter.setBrush(QColor(0, 0, 0));
    painter.drawRect(19, 13, 17, 4);
    if (plus) painter.drawRect(26, 7, 4, 16);
    painter.end();
    return image;
}

bool save(const QImage& image, const QString& path) {
    if (image.save(path, "BMP")) return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: legendgen <output folder>\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    const bool ok = save(legend(true), folder.filePath(QStringLiteral("Image3.bmp"))) &&
                    save(legend(false), folder.filePath(QStringLiteral("Image2.bmp")));
    return ok ? 0 : 1;
}
