// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the Unix and the Windows halves of the file calls share: the failures they return, the
// folder message and the names of a replacement's temporary files. Used by fileio*.cpp alone.

#include <QByteArray>
#include <QString>

#include "fileio.h"

namespace fileio {

FileRead ReadFailure(ReadProblem problem, const QString& reason);

Replacement ReplaceFailure(bool oldFileKept, const QString& reason);

// Why a folder on the way to the file could not be made.
QString FolderReason(const QString& folder, const QString& why);

// The reason for an error number neither system's list names.
QString UnknownErrorReason(int error);

// The temporary file a replacement of the file of that name writes first: the name, a dot, eight
// lower-case hexadecimal digits and ".tmp".
QByteArray TemporaryName(const QByteArray& name, quint32 number);

bool IsTemporaryOf(const QByteArray& entry, const QByteArray& fileName);

// A replacement takes a moment; a temporary file this old was left by one that never finished
// (the program was killed while writing).
constexpr int kLeftoverSeconds = 5 * 60;

}  // namespace fileio
