// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the viewer's pictures as 24-bit Windows bitmaps into a folder, and the program icon as PNG
// files <size>.png, one for each size given, into another. Used by the build:
// makefigures <picture folder> <icon folder> <icon size>...
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <cstdio>

#include "figureart.h"
#include "figurecycle.h"

namespace {
bool save(const QImage& image, const QString& path, const char* format) {
    if (image.save(path, format)) return true;
    std::fprintf(stderr, "makefigures: cannot write %s\n", qPrintable(path));
    return false;
}
}  // namespace

int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: makefigures <picture folder> <icon folder> <icon size>...\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const QString iconFolder = QString::fromLocal8Bit(argv[2]);
    if (!QDir().mkpath(folder) || !QDir().mkpath(iconFolder)) {
        std::fprintf(stderr, "makefigures: cannot create the output folders\n");
        return 1;
    }

    // Walk the viewer's own cycle, so that every name it asks for has a picture.
    qint16 index = 0;
    for (int i = 0; i < FigureCount; ++i) {
        const FigureStep step = NextFigure(index);
        // RGB32 has no alpha channel, so the bitmap writer stores 24 bits per pixel.
        const QImage picture = DrawFigure(step.fileName).convertToFormat(QImage::Format_RGB32);
        if (picture.isNull()) {
            std::fprintf(stderr, "makefigures: no drawing for %s\n", qPrintable(step.fileName));
            return 1;
        }
        if (!save(picture, folder + u'/' + step.fileName, "BMP")) return 1;
        index = step.nextIndex;
    }
    for (int i = 3; i < argc; ++i) {
        const int size = QByteArray(argv[i]).toInt();
        if (size <= 0) {
            std::fprintf(stderr, "makefigures: %s is not an icon size\n", argv[i]);
            return 2;
        }
        if (!save(DrawIcon(size), iconFolder + QStringLiteral("/%1.png").arg(size), "PNG"))
            return 1;
    }
    return 0;
}
