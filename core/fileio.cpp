// SPDX-License-Identifier: GPL-3.0-or-later
#include "fileio.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <optional>

#if !defined(Q_OS_UNIX) && !defined(Q_OS_WIN)
#error "files are read and replaced through the system's own calls: Unix or Windows"
#endif

#ifdef Q_OS_UNIX
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#endif
#ifdef Q_OS_WIN
#include <windows.h>
// The system's own ReplaceFile is a macro for ReplaceFileW; this file defines the program's.
#undef ReplaceFile

#include <QDateTime>
#include <QDir>
#endif

QString SystemErrorReason(int error) {
    switch (error) {
#ifdef Q_OS_UNIX
        case ENOSPC:
        case EDQUOT:
            return QStringLiteral("на диске нет места");
        case EACCES:
        case EPERM:
            return QStringLiteral("нет прав доступа");
        case EROFS:
            return QStringLiteral("диск только для чтения");
        case EIO:
            return QStringLiteral("ошибка ввода-вывода на диске");
        case EISDIR:
            return QStringLiteral("на этом месте папка, а не файл");
        case ENOENT:
            return QStringLiteral("файл или папка не найдены");
        case ENOTDIR:
            return QStringLiteral("часть пути — не папка");
        case ENAMETOOLONG:
            return QStringLiteral("слишком длинное имя");
        case ELOOP:
            return QStringLiteral("слишком много символических ссылок в пути");
        case EFBIG:
            return QStringLiteral("файл превысил допустимый размер");
        case EMFILE:
        case ENFILE:
            return QStringLiteral("открыто слишком много файлов");
        case EBUSY:
        case ETXTBSY:
            return QStringLiteral("файл занят");
        case ENXIO:
        case ENODEV:
            return SpecialFileReason();
#endif
#ifdef Q_OS_WIN
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
#endif
        default:
            return QStringLiteral("ошибка системы номер %1").arg(error);
    }
}

QString SpecialFileReason() {
    return QStringLiteral("это не обычный файл, а канал, устройство или сокет");
}

namespace {

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

// The temporary file a replacement of the file of that name writes first: the name, a dot, eight
// lower-case hexadecimal digits and ".tmp".
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

// A replacement takes a moment; a temporary file this old was left by one that never finished
// (the program was killed while writing).
constexpr int kLeftoverSeconds = 5 * 60;

}  // namespace

#ifdef Q_OS_UNIX

namespace {

FileRead ReadFailure(int error) {
    return ReadFailure(error == ENOENT ? ReadProblem::Missing : ReadProblem::Unreadable,
                       SystemErrorReason(error));
}

// Creates the folder and every missing folder above it; 0, or the error that stopped it.
int MakeFolders(const QByteArray& folder) {
    struct stat info;
    if (::stat(folder.constData(), &info) == 0) return S_ISDIR(info.st_mode) ? 0 : ENOTDIR;
    if (errno != ENOENT) return errno;
    const qsizetype slash = folder.lastIndexOf('/');
    if (slash > 0)
        if (const int error = MakeFolders(folder.left(slash))) return error;
    if (::mkdir(folder.constData(), 0777) != 0 && errno != EEXIST) return errno;
    return 0;
}

// Removes the temporary files that replacements of the file left in the folder once they are
// older than any replacement takes. Only regular files of exactly that pattern go: never a link,
// a folder or any other name.
void RemoveLeftovers(const QByteArray& folder, const QByteArray& fileName) {
    DIR* dir = ::opendir(folder.constData());
    if (!dir) return;
    const time_t now = ::time(nullptr);
    while (const dirent* entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        struct stat info;
        if (IsTemporaryOf(name, fileName) &&
            ::fstatat(::dirfd(dir), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(info.st_mode) && now - info.st_mtime > kLeftoverSeconds)
            ::unlinkat(::dirfd(dir), entry->d_name, 0);
    }
    ::closedir(dir);
}

int OpenNew(const QByteArray& name) {
    int fd;
    do {
        fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

}  // namespace

FileRead ReadRegularFile(const QString& path, qint64 maxBytes) {
    if (path.isEmpty()) return ReadFailure(ENOENT);
    const QByteArray name = QFile::encodeName(path);
    struct stat info;
    if (::stat(name.constData(), &info) != 0) return ReadFailure(errno);
    if (S_ISDIR(info.st_mode)) return ReadFailure(EISDIR);
    if (!S_ISREG(info.st_mode)) return ReadFailure(ReadProblem::Unreadable, SpecialFileReason());

    // Not blocking: should the name have become a pipe since the look above, opening it returns
    // at once instead of waiting for a writer, and the second look refuses it.
    int fd;
    do {
        fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) return ReadFailure(errno);
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return ReadFailure(ReadProblem::Unreadable, SpecialFileReason());
    }

    FileRead read;
    read.content.reserve(qsizetype(qMin<qint64>(maxBytes, info.st_size)));
    while (read.content.size() < maxBytes) {
        const qint64 chunk = qMin<qint64>(maxBytes - read.content.size(), 64 * 1024);
        const qsizetype at = read.content.size();
        read.content.resize(at + chunk);
        const ssize_t got = ::read(fd, read.content.data() + at, size_t(chunk));
        if (got < 0 && errno == EINTR) {
            read.content.resize(at);
            continue;
        }
        if (got < 0) {
            const int error = errno;
            ::close(fd);
            return ReadFailure(ReadProblem::Unreadable, SystemErrorReason(error));
        }
        read.content.resize(at + got);
        if (got == 0) break;
    }
    ::close(fd);
    return read;
}

Replacement ReplaceFile(const QString& path, const QByteArray& content, const ReplaceCalls& calls) {
    if (path.isEmpty()) return ReplaceFailure(false, SystemErrorReason(ENOENT));
    const QByteArray name = QFile::encodeName(path);
    const qsizetype slash = name.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray(".") : name.left(qMax<qsizetype>(slash, 1));
    if (const int error = MakeFolders(folder))
        return ReplaceFailure(false,
                              FolderReason(QFile::decodeName(folder), SystemErrorReason(error)));

    // What the name holds now, without following a link and without opening anything.
    bool oldFile = false;
    mode_t mode = 0;
    struct stat info;
    if (::lstat(name.constData(), &info) == 0) {
        if (S_ISDIR(info.st_mode)) return ReplaceFailure(false, SystemErrorReason(EISDIR));
        if (S_ISLNK(info.st_mode)) {
            // The link goes, its target stays as it is; reading the name gives the target's
            // content until the new file is in place.
            struct stat target;
            oldFile = ::stat(name.constData(), &target) == 0 && S_ISREG(target.st_mode);
        } else if (S_ISREG(info.st_mode)) {
            oldFile = true;
            mode = info.st_mode & 0777;
        } else {
            return ReplaceFailure(false, SpecialFileReason());
        }
    } else if (errno != ENOENT) {
        return ReplaceFailure(false, SystemErrorReason(errno));
    }

    RemoveLeftovers(folder, name.mid(slash + 1));

    // The new file beside the old one, under a name no one else uses: created afresh, never
    // through a link of that name.
    QByteArray temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
        temporary = TemporaryName(name, QRandomGenerator::global()->generate());
        fd = OpenNew(temporary);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) return ReplaceFailure(oldFile, SystemErrorReason(errno));
    // The replacement keeps the old file's permissions, as a rewrite in place would.
    if (mode != 0) ::fchmod(fd, mode);

    const auto giveUp = [&](bool open, const QString& reason) {
        if (open) ::close(fd);
        ::unlink(temporary.constData());
        return ReplaceFailure(oldFile, reason);
    };
    const auto write = [&](const char* data, qint64 size) -> qint64 {
        return calls.write ? calls.write(fd, data, size) : ::write(fd, data, size_t(size));
    };
    for (qint64 done = 0; done < content.size();) {
        const qint64 left = content.size() - done;
        const qint64 wrote = write(content.constData() + done, left);
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote < 0) return giveUp(true, SystemErrorReason(errno));
        // A write that takes nothing, or claims more than it was given, writes no further.
        if (wrote == 0 || wrote > left)
            return giveUp(true, QStringLiteral("файл записан не полностью"));
        done += wrote;
    }
    if ((calls.fsync ? calls.fsync(fd) : ::fsync(fd)) != 0)
        return giveUp(true, SystemErrorReason(errno));
    // A network file system may report a failed write only here; the descriptor is gone even so.
    if ((calls.close ? calls.close(fd) : ::close(fd)) != 0)
        return giveUp(false, SystemErrorReason(errno));
    if ((calls.rename ? calls.rename(temporary.constData(), name.constData())
                      : ::rename(temporary.constData(), name.constData())) != 0)
        return giveUp(false, SystemErrorReason(errno));

    // The rename itself on the disk too; the file is in place whatever this gives.
    const int folderFd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd >= 0) {
        ::fsync(folderFd);
        ::close(folderFd);
    }
    Replacement result;
    result.replaced = true;
    return result;
}

#endif

#ifdef Q_OS_WIN

namespace {

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

#endif
