// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// The program directory as each window keeps it: the directory that holds the executable (never
// the current working directory), with one trailing separator removed. Only a root directory is
// reported with one ("C:\" or "/"), so the root gives "C:" or the empty text, and joining a file
// name with a separator gives "C:\rlin1.txt" or "/rlin1.txt" again.
QString AppDirFrom(const QString& reportedPath);

// The same from the directory's path as the file system holds it, in bytes. Empty when the bytes
// cannot be held as text and turned back into the very same bytes (a folder whose name is not
// valid UTF-8): a path that has lost bytes on the way names some other place (the root, once).
// Empty bytes, a path the platform could not tell, give none either.
std::optional<QString> AppDirFromBytes(const QByteArray& reportedPath);

// The directory of the running executable in bytes: on Linux the link /proc/self/exe points
// through (the executable itself, every link resolved); elsewhere the directory Qt reports.
QByteArray AppDirBytes();

// AppDirFromBytes of AppDirBytes: the program directory, or empty when its path cannot be used.
// On Windows the directory as the system reports it in UTF-16, which every folder name fits.
std::optional<QString> AppDir();

// What the windows say, instead of reading or writing a file, when AppDir is empty.
QString UnusableAppDirMessage();

// A file of the program directory: AppDir, the platform's separator, the name.
QString AppFilePath(const QString& appDir, const QString& fileName);
