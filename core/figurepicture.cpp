// SPDX-License-Identifier: GPL-3.0-or-later
#include "figurepicture.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageReader>
#include <QtEndian>

namespace {

// Far more than any of the viewer's pictures: a stray huge file is refused, not read whole.
constexpr qint64 kLargestPicture = 64 * 1024 * 1024;

PictureLoad Refused(const QString& reason, ReadProblem problem = ReadProblem::Unreadable) {
    PictureLoad load;
    load.problem = problem;
    load.reason = reason;
    return load;
}

quint32 U32(const QByteArray& bytes, int at) {
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}
qint32 I32(const QByteArray& bytes, int at) {
    return qFromLittleEndian<qint32>(bytes.constData() + at);
}
quint16 U16(const QByteArray& bytes, int at) {
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}

}  // namespace

std::optional<QString> BitmapShortfall(const QByteArray& bytes) {
    if (!bytes.startsWith("BM")) return std::nullopt;
    const QString cut =
        QStringLiteral("файл обрезан: в нём меньше данных, чем указано в заголовке рисунка");
    // The file header (14 bytes) and the size of the information header after it.
    constexpr int kFileHeader = 14;
    if (bytes.size() < kFileHeader + 4) return cut;
    const quint32 pixelOffset = U32(bytes, 10);
    const quint32 infoSize = U32(bytes, kFileHeader);

    qint64 width, height, bitsPerPixel;
    quint32 compression = 0, imageSize = 0;
    if (infoSize == 12) {  // the oldest header: 16-bit sizes
        if (bytes.size() < kFileHeader + 12) return cut;
        width = U16(bytes, 18);
        height = U16(bytes, 20);
        bitsPerPixel = U16(bytes, 24);
    } else if (infoSize == 40 || infoSize == 52 || infoSize == 56 || infoSize == 64 ||
               infoSize == 108 || infoSize == 124) {  // later headers: 32-bit sizes, then more
        if (bytes.size() < qint64(kFileHeader) + infoSize) return cut;
        width = I32(bytes, 18);
        height = I32(bytes, 22);  // negative: rows from the top down
        bitsPerPixel = U16(bytes, 28);
        compression = U32(bytes, 30);
        imageSize = U32(bytes, 34);
    } else {
        return std::nullopt;  // no bitmap header known: the reader says what it is
    }

    if (pixelOffset > quint64(bytes.size())) return cut;
    const qint64 available = bytes.size() - qint64(pixelOffset);
    // Uncompressed rows (plain, or with colour masks): each row padded to a multiple of four
    // bytes. Compressed data: as long as the header says, when it says.
    enum { Plain = 0, BitFields = 3, AlphaBitFields = 6 };
    if (compression == Plain || compression == BitFields || compression == AlphaBitFields) {
        const qint64 rowBytes = (qAbs(width) * bitsPerPixel + 31) / 32 * 4;
        // Divided, not multiplied: a header's width and height may be anything.
        if (rowBytes > 0 && qAbs(height) > available / rowBytes) return cut;
    } else if (imageSize > available) {
        return cut;
    }
    return std::nullopt;
}

PictureLoad PictureFromBytes(const QByteArray& bytes, const QByteArray& formatHint) {
    if (const auto shortfall = BitmapShortfall(bytes)) return Refused(*shortfall);
    // The hinted format first, as a reader does with a file's suffix; then whatever format the
    // content shows (a picture saved in another format under the bitmap's name).
    const auto read = [&bytes](const QByteArray& format) {
        QByteArray data = bytes;
        QBuffer buffer(&data);
        buffer.open(QIODevice::ReadOnly);
        return QImageReader(&buffer, format).read();
    };
    PictureLoad load;
    load.image = read(formatHint);
    if (load.image.isNull() && !formatHint.isEmpty()) load.image = read(QByteArray());
    if (load.image.isNull())
        return Refused(QStringLiteral("в файле нет рисунка, который можно показать"));
    return load;
}

PictureLoad LoadPicture(const QString& path) {
    const FileRead read = ReadRegularFile(path, kLargestPicture + 1);
    if (read.problem != ReadProblem::None) return Refused(read.reason, read.problem);
    if (read.content.size() > kLargestPicture)
        return Refused(QStringLiteral("файл слишком велик для рисунка"));
    return PictureFromBytes(read.content, QFileInfo(path).suffix().toLatin1());
}
