// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <optional>

#include "fileio.h"

// The figure viewer's pictures, read and checked before the viewer shows one.

struct PictureLoad {
    QImage image;  // null when the picture is refused
    ReadProblem problem = ReadProblem::None;
    QString reason;  // when refused: a phrase for the user (see fileio.h)
};

// Why a bitmap (a file that starts with "BM") ends before the pixels its headers describe: the
// headers themselves cut short, or the pixel array (from its offset, the width, the height and
// bits per pixel, each row padded to four bytes; for a compressed bitmap the size of the image
// data the header gives) running past the end. Empty when the data is whole or is no bitmap.
std::optional<QString> BitmapShortfall(const QByteArray& bytes);

// The picture the bytes hold, or why not: a bitmap cut short (see BitmapShortfall) or bytes no
// image reader takes. formatHint (the file's suffix) is the format tried first.
PictureLoad PictureFromBytes(const QByteArray& bytes, const QByteArray& formatHint = {});

// The picture in the file: ReadRegularFile, then PictureFromBytes. A missing file is
// ReadProblem::Missing, everything else that fails is ReadProblem::Unreadable.
PictureLoad LoadPicture(const QString& path);
