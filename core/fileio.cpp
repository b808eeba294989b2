// SPDX-License-Identifier: GPL-3.0-or-later
// The part of the file calls both systems share; the system calls themselves are in
// fileio_unix.cpp and fileio_win.cpp, of which the build takes one.
#include "fileio.h"

#include "fileio_p.h"

QString SpecialFileReason() {
    return QStringLiteral("это не обычный файл, а канал, устройство или сокет");
}

namespace fileio {

FileRead ReadFailure(ReadProblem problem, const QString& reason) {
    FileRead read;
    read.problem = problem;
    read.reason = reason;
    return read;
}

Replacement ReplaceFailure(bool oldFileKept, const QString& reason) {
    Replacement result;
    result.oldFileKept = oldFileKept;
    result.reason = reason;
    return result;
}

QString FolderReason(const QString& folder, const QString& why) {
    return QStringLiteral("не удаётся создать папку %1: %2").arg(folder, why);
}

QString UnknownErrorReason(int error) {
    return QStringLiteral("ошибка системы номер %1").arg(error);
}

QByteArray TemporaryName(const QByteArray& name, quint32 number) {
    return name + '.' + QByteArray::number(number, 16).rightJustified(8, '0') + ".tmp";
}

bool IsTemporaryOf(const QByteArray& entry, const QByteArray& fileName) {
    const qsizetype digits = fileName.size() + 1;
    if (entry.size() != digits + 8 + 4 || !entry.startsWith(fileName) || entry[digits - 1] != '.' ||
        !entry.endsWith(".tmp"))
        return false;
    for (qsizetype i = digits; i < digits + 8; ++i)
        if (!(entry[i] >= '0' && entry[i] <= '9') && !(entry[i] >= 'a' && entry[i] <= 'f'))
            return false;
    return true;
}

}  // namespace fileio
