// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the viewer's pictures as 24-bit Windows bitmaps into a folder, and the program icon as PNG
// files <size>.png, one for each size given, into another, together with torvel.ico, a Windows
// icon holding all of them. Used by the build:
// makefigures <picture folder> <icon folder> <icon size>...
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QtEndian>
#include <cstdio>
#include <vector>

#include "figureart.h"
#include "figurecycle.h"

namespace {
bool save(const QImage& image, const QString& path, const char* format) {
    if (image.save(path, format)) return true;
    std::fprintf(stderr, "makefigures: cannot write %s\n", qPrintable(path));
    return false;
}
// A Windows icon file whose images are PNG files, as Windows reads them since Vista: the header,
// one directory entry per image (a width or height of 256 is written as 0), then the images.
QByteArray iconFile(const std::vector<QByteArray>& pngs, const std::vector<int>& sizes) {
    QByteArray file;
    auto put16 = [&file](quint16 v) {
        char b[2];
        qToLittleEndian(v, b);
        file.append(b, 2);
    };
    auto put32 = [&file](quint32 v) {
        char b[4];
        qToLittleEndian(v, b);
        file.append(b, 4);
    };
    put16(0);  // reserved
    put16(1);  // an icon, not a cursor
    put16(quint16(pngs.size()));
    quint32 offset = quint32(6 + 16 * pngs.size());
    for (std::size_t i = 0; i < pngs.size(); ++i) {
        const char side = char(sizes[i] >= 256 ? 0 : sizes[i]);
        file.append(side).append(side).append('\0').append('\0');  // no palette, reserved
        put16(1);                                                  // colour planes
        put16(32);                                                 // bits per pixel
        put32(quint32(pngs[i].size()));
        put32(offset);
        offset += quint32(pngs[i].size());
    }
    for (const QByteArray& png : pngs) file += png;
    return file;
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
    std::vector<QByteArray> pngs;
    std::vector<int> sizes;
    for (int i = 3; i < argc; ++i) {
        const int size = QByteArray(argv[i]).toInt();
        if (size <= 0 || size > 256) {
            std::fprintf(stderr, "makefigures: %s is not an icon size\n", argv[i]);
            return 2;
        }
        const QImage icon = DrawIcon(size);
        if (!save(icon, iconFolder + QStringLiteral("/%1.png").arg(size), "PNG")) return 1;
        QBuffer png;
        png.open(QIODevice::WriteOnly);
        icon.save(&png, "PNG");
        pngs.push_back(png.data());
        sizes.push_back(size);
    }
    QFile ico(iconFolder + QStringLiteral("/torvel.ico"));
    const QByteArray icoBytes = iconFile(pngs, sizes);
    if (!ico.open(QIODevice::WriteOnly) || ico.write(icoBytes) != icoBytes.size()) {
        std::fprintf(stderr, "makefigures: cannot write %s\n", qPrintable(ico.fileName()));
        return 1;
    }
    return 0;
}
