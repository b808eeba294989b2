// SPDX-License-Identifier: GPL-3.0-or-later
// Reading and replacing files through the Windows calls, with UTF-16 paths.
#include <windows.h>
// The system's own ReplaceFile is a macro for ReplaceFileW; this file defines the program's.
#undef ReplaceFile

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <optional>

#include "fileio.h"
#include "fileio_p.h"

using namespace fileio;

QString SystemErrorReason(int error) {
    switch (error) {
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return QStringLiteral("на диске нет места");
        case ERROR_ACCESS_DENIED:
            return QStringLiteral("нет прав доступа");
        case ERROR_WRITE_PROTECT:
            return QStringLiteral("диск только для чтения");
        case ERROR_CRC:
        case ERROR_READ_FAULT:
        case ERROR_WRITE_FAULT:
        case ERROR_GEN_FAILURE:
            return QStringLiteral("ошибка ввода-вывода на диске");
        case ERROR_DIRECTORY:
            return QStringLiteral("на этом месте папка, а не файл");
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
            return QStringLiteral("файл или папка не найдены");
        case ERROR_FILENAME_EXCED_RANGE:
            return QStringLiteral("слишком длинное имя");
        case ERROR_TOO_MANY_OPEN_FILES:
            return QStringLiteral("открыто слишком много файлов");
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return QStringLiteral("файл занят");
        case ERROR_CANT_RESOLVE_FILENAME:
            return QStringLiteral("слишком много символических ссылок в пути");
        default:
            return UnknownErrorReason(error);
    }
}

namespace {

// The shared ReadFailure, which this file's overload for an error number would otherwise hide.
using fileio::ReadFailure;

// Paths go to the system as UTF-16, so a folder named in any script works.
const wchar_t* wide(const QString& path) {
    return reinterpret_cast<const wchar_t*>(path.utf16());
}

FileRead ReadFailure(DWORD error) {
    const bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    return ReadFailure(missing ? ReadProblem::Missing : ReadProblem::Unreadable,
                       SystemErrorReason(int(error)));
}

// The attributes of what the name holds, without following a link; none when nothing is there.
std::optional<DWORD> attributesOf(const QString& path, DWORD* error) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(wide(path), GetFileExInfoStandard, &data)) {
        *error = GetLastError();
        return std::nullopt;
    }
    return data.dwFileAttributes;
}

// Removes the temporary files that replacements of the file left in the folder once they are
// older than any replacement takes: regular files of exactly that pattern, never a link.
void RemoveLeftovers(const QString& folder, const QString& fileName) {
    const QDateTime oldest = QDateTime::currentDateTimeUtc().addSecs(-kLeftoverSeconds);
    const QFileInfoList entries =
        QDir(folder).entryInfoList({fileName + QStringLiteral(".*.tmp")},
                                   QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks);
    for (const QFileInfo& entry : entries)
        if (IsTemporaryOf(entry.fileName().toUtf8(), fileName.toUtf8()) && !entry.isSymLink() &&
            !entry.isJunction() && entry.lastModified().toUTC() < oldest)
            QFile::remove(entry.filePath());
}

}  // namespace

FileRead ReadRegularFile(const QString& path, qint64 maxBytes) {
    if (path.isEmpty()) return ReadFailure(DWORD(ERROR_FILE_NOT_FOUND));
    const QString name = QDir::toNativeSeparators(path);
    // Shared for reading, writing and deleting, so that a running START can replace the file
    // meanwhile; a link to a file is read as the file.
    const HANDLE file = CreateFileW(
        wide(name), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return ReadFailure(GetLastError());
    // A folder opens too (backup semantics), and a device or a pipe is not a file on a disk.
    if (GetFileType(file) != FILE_TYPE_DISK) {
        CloseHandle(file);
        return ReadFailure(ReadProblem::Unreadable, SpecialFileReason());
    }
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(file, &info)) {
        const DWORD error = GetLastError();
        CloseHandle(file);
        return ReadFailure(error);
    }
    if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        CloseHandle(file);
        return ReadFailure(DWORD(ERROR_DIRECTORY));
    }

    FileRead read;
    while (read.content.size() < maxBytes) {
        const qint64 chunk = qMin<qint64>(maxBytes - read.content.size(), 64 * 1024);
        const qsizetype at = read.content.size();
        read.content.resize(at + chunk);
        DWORD got = 0;
        if (!ReadFile(file, read.content.data() + at, DWORD(chunk), &got, nullptr)) {
            const DWORD error = GetLastError();
            CloseHandle(file);
            return ReadFailure(ReadProblem::Unreadable, SystemErrorReason(int(error)));
        }
        read.content.resize(at + qsizetype(got));
        if (got == 0) break;
    }
    CloseHandle(file);
    return read;
}

Replacement ReplaceFile(const QString& path, const QByteArray& content, const ReplaceCalls&) {
    if (path.isEmpty()) return ReplaceFailure(false, SystemErrorReason(ERROR_FILE_NOT_FOUND));
    const QString name = QDir::toNativeSeparators(path);
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir(folder).exists() && !QDir().mkpath(folder))
        return ReplaceFailure(false, FolderReason(QDir::toNativeSeparators(folder),
                                                  SystemErrorReason(ERROR_ACCESS_DENIED)));

    // What the name holds now, without following a link and without opening anything.
    bool oldFile = false, link = false;
    DWORD error = 0;
    if (const auto attributes = attributesOf(name, &error)) {
        link = *attributes & FILE_ATTRIBUTE_REPARSE_POINT;
        if (!link && (*attributes & FILE_ATTRIBUTE_DIRECTORY))
            return ReplaceFailure(false, SystemErrorReason(ERROR_DIRECTORY));
        if (link) {
            // The link goes, its target stays as it is.
            const QFileInfo target(path);
            oldFile = target.exists() && target.isFile();
        } else {
            oldFile = true;
        }
    } else if (error != ERROR_FILE_NOT_FOUND) {
        return ReplaceFailure(false, SystemErrorReason(int(error)));
    }

    RemoveLeftovers(folder, QFileInfo(path).fileName());

    // The new file beside the old one, under a name no one else uses: created afresh.
    QString temporary;
    HANDLE file = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 16 && file == INVALID_HANDLE_VALUE; ++attempt) {
        temporary =
            QString::fromUtf8(TemporaryName(name.toUtf8(), QRandomGenerator::global()->generate()));
        file = CreateFileW(wide(temporary), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) break;
    }
    if (file == INVALID_HANDLE_VALUE)
        return ReplaceFailure(oldFile, SystemErrorReason(int(GetLastError())));

    const auto giveUp = [&](bool open, DWORD reason) {
        if (open) CloseHandle(file);
        DeleteFileW(wide(temporary));
        return ReplaceFailure(oldFile, SystemErrorReason(int(reason)));
    };
    for (qint64 done = 0; done < content.size();) {
        const DWORD chunk = DWORD(qMin<qint64>(content.size() - done, 1 << 20));
        DWORD wrote = 0;
        if (!WriteFile(file, content.constData() + done, chunk, &wrote, nullptr))
            return giveUp(true, GetLastError());
        if (wrote == 0) return giveUp(true, ERROR_WRITE_FAULT);
        done += wrote;
    }
    if (!FlushFileBuffers(file)) return giveUp(true, GetLastError());
    if (!CloseHandle(file)) return giveUp(false, GetLastError());
    // A rename on the same volume: the name holds the old file or the new one, never a part of
    // either; a link of that name is itself replaced. Written through, so that the rename is on
    // the disk when START reports the file written.
    if (!MoveFileExW(wide(temporary), wide(name),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return giveUp(false, GetLastError());
    Replacement result;
    result.replaced = true;
    return result;
}
