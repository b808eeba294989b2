// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

// The files the program reads and replaces. A read opens only a regular file and never waits on
// a pipe or a device; a replacement lands whole or leaves the old file as it was. The reasons are
// phrases for the user: lower case, no full stop, Russian.

// The reason for a system error number (errno on Unix, GetLastError on Windows).
QString SystemErrorReason(int error);

// The reason when the name holds a pipe, a device or a socket.
QString SpecialFileReason();

enum class ReadProblem {
    None,
    Missing,     // nothing of that name
    Unreadable,  // a folder, a special file, no permission, a failed read
};

struct FileRead {
    QByteArray content;
    ReadProblem problem = ReadProblem::None;
    QString reason;  // when problem is not None
};

// At most maxBytes from the start of the file, which must be a regular file (a link to one
// counts). The type is checked before the file is opened, and again on what was opened: a pipe or
// a device is never opened at all, and a name swapped for one in between is not read. The empty
// path is a missing file.
FileRead ReadRegularFile(const QString& path, qint64 maxBytes);

// The system calls a replacement makes once its temporary file is open; a test puts a failing one
// in. A member left empty is the system call itself. Used on Unix only.
struct ReplaceCalls {
    std::function<qint64(int fd, const char* data, qint64 size)> write;
    std::function<int(int fd)> fsync;
    std::function<int(int fd)> close;
    std::function<int(const char* from, const char* to)> rename;
};

struct Replacement {
    bool replaced = false;
    // On failure: a previous regular file of that name was there, and still is, untouched.
    bool oldFileKept = false;
    QString reason;  // on failure
};

// Replaces the file with the content. Creates the folder when it is missing; then writes a new
// file beside the old one (created afresh, never through a link), writes every byte, flushes it
// to the disk and renames it over the name. Any failure on the way removes the new file and
// leaves the old one as it was. A symbolic link (on Windows any reparse point) of that name is
// itself replaced by the new file, whatever it points to; a folder, a pipe, a device or a socket
// of that name is refused without being opened. Paths are UTF-16 on Windows, bytes on Unix. The
// new file's name is the name, a dot, eight hexadecimal digits and ".tmp"; files of that pattern
// older than five minutes, which a replacement killed half-way left behind, are removed first.
Replacement ReplaceFile(const QString& path, const QByteArray& content,
                        const ReplaceCalls& calls = {});
