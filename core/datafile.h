// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

#include "fileio.h"

// The direction data file carries satellite 1's azimuth and elevation from the calculation to
// the direction plot: one line, "azimuth,elevation" and CR LF, '.' as the decimal point.
inline const QString kDataFileName = QStringLiteral("rlin1.txt");

// A system-wide installation puts this file beside the executable; a portable folder and the
// build folder have none.
inline const QString kSystemInstallMarker = QStringLiteral("torvel.installed");

// The folder that holds the file. A system-wide installation keeps it in the user's own data
// folder, whoever runs the program (the administrator included), so nothing is ever written
// beside an installed program. A portable folder keeps it beside the executable, unless that
// folder takes no new files (a read-only medium), and then in the user's data folder too. Without
// a user data folder, the program directory all the same (writing then reports why it fails).
QString DataFileFolder(const QString& appDir, bool systemInstall, bool appDirWritable,
                       const QString& userDataDir);

// Decides where the file lives for this run of the program, from the marker and, for a portable
// folder, by trying to create a file there. The main window calls it once at start-up and hands
// the path to the direction plot, so that START and the plot use the same file for the whole run
// and a failed write is reported rather than sent somewhere else.
QString DecideDataFilePath(const QString& appDir);

// Whether a new file can be created in the directory, tried for real by creating and removing a
// probe file: permission bits alone do not tell (a read-only mount, an administrator's rights).
bool DirectoryWritable(const QString& dir);

// The user's data directory for this program (created by WriteDataFile when first needed).
QString UserDataDirectory();

// The file's whole content; the elevation field is empty when there is no elevation.
QByteArray DataFileLine(double azimuth, std::optional<double> elevation);

// Replaces the file with the line (see ReplaceFile: the old file stays whole on any failure, a
// link of that name is replaced rather than written through, a folder or special file of that
// name is refused); creates the folder when it is missing. The empty path stands for a program
// folder that cannot be used (see AppDir): nothing is written. On failure, message is what the
// main window shows. calls lets a test make a system call fail.
bool WriteDataFile(const QString& path, double azimuth, std::optional<double> elevation,
                   QString* message, const ReplaceCalls& calls = {});

// The message for a replacement of the data file at path that failed: the path as it is, the
// reason, and whether the previous calculation's line is still in the file.
QString DataFileWriteMessage(const QString& path, const Replacement& failure);

// The first two fields of the file as texts, each ending at a comma or a line end; anything
// after them is not read. Empty when the content holds fewer than two fields.
struct DataFileFields {
    QString azimuth;
    QString elevation;
};
std::optional<DataFileFields> ParseDataFile(const QByteArray& content);

// Reads the file, which must be a regular file (see ReadRegularFile: a pipe or device is never
// opened); empty when it is missing, unreadable or holds fewer than two fields, and reason then
// says which.
std::optional<DataFileFields> ReadDataFile(const QString& path, QString* reason = nullptr);
