// Draws the viewer's pictures as 24-bit Windows bitmaps into a folder, and the program icon as a
// PNG file. Used by the build: makefigures <picture folder> <icon file>
#include <QDir>
#include <QFileInfo>
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
    if (argc != 3) {
        std::fprintf(stderr, "usage: makefigures <picture folder> <icon file>\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const QString iconPath = QString::fromLocal8Bit(argv[2]);
    if (!QDir().mkpath(folder) || !QDir().mkpath(QFileInfo(iconPath).absolutePath())) {
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
    return save(DrawIcon(256), iconPath, "PNG") ? 0 : 1;
}
