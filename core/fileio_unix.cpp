// SPDX-License-Identifier: GPL-3.0-or-later
// Reading and replacing files through the POSIX calls.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QRandomGenerator>
#include <cerrno>
#include <ctime>

#include "fileio.h"
#include "fileio_p.h"

using namespace fileio;

QString SystemErrorReason(int error) {
    switch (error) {
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
        default:
            return UnknownErrorReason(error);
    }
}

namespace {

// The shared ReadFailure, which this file's overload for an error number would otherwise hide.
using fileio::ReadFailure;

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
