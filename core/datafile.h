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

// The user's data folder, or why the one the environment names cannot be used.
struct UserDataFolder {
    QString path;  // empty when there is none
    // Its name's bytes do not read as text and back (see AppDirFromBytes): a path that has lost
    // bytes on the way names some other place, so nothing is written there nor anywhere in its
    // stead. What START and the plot say instead.
    QString problem;
};

// The data home of the Unix conventions from the environment's bytes (null for a variable that
// is not set): XDG_DATA_HOME when it is an absolute path, a relative one being ignored; else the
// home folder's ".local/share", the home being HOME when that is an absolute path and otherwise
// the account's home from the password database. None without any home.
UserDataFolder DataHomeFrom(const QByteArray& xdgDataHome, const QByteArray& home,
                            const QByteArray& accountHome);

// This program's folder in the user's data folder (created by WriteDataFile when first needed).
UserDataFolder UserDataDirectory();

// Where the file lives for this run of the program.
struct DataFilePlace {
    // The file START writes and the plot reads; empty when there is none (problem says why).
    QString path;
    QString problem;
    // A portable folder's other place for the file: the user's folder while the file is kept
    // beside the program, and beside the program while it is kept in the user's folder. An
    // earlier run may have kept it there; the plot says when a newer file lies there. Empty for
    // a system-wide installation, which never keeps it beside the program.
    QString otherPath;
    // What START says once in the run when the program folder took no new file, so that the
    // file is kept in the user's folder instead: where it is.
    QString movedNote;
};

// The place from what start-up found. A system-wide installation keeps the file in the user's
// own data folder, whoever runs the program (the administrator included), so nothing is ever
// written beside an installed program. A portable folder keeps it beside the executable, unless
// that folder takes no new files (a full or read-only medium), and then in the user's data folder
// too. Without a user data folder, the program directory all the same (writing then reports why
// it fails); with one whose name cannot be used, nowhere.
DataFilePlace DataFilePlaceFor(const QString& appDir, bool systemInstall, bool appDirWritable,
                               const UserDataFolder& userData);

// Decides where the file lives for this run of the program, from the marker and, for a portable
// folder, by trying to create a file there. The main window calls it once at start-up and hands
// the place to the direction plot, so that START and the plot use the same file for the whole
// run and a failed write is reported rather than sent somewhere else.
DataFilePlace DecideDataFilePlace(const QString& appDir);

// Whether a new file can be created in the directory, tried for real by creating and removing a
// probe file: permission bits alone do not tell (a read-only mount, an administrator's rights).
bool DirectoryWritable(const QString& dir);

// What the plot says when the place's other path holds a file newer than the place's own (or the
// place has none): which file it is, when it was written, and how to draw the current
// calculation. Empty otherwise.
QString NewerDataFileNote(const DataFilePlace& place);

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
    // Why the fields are not the numbers the calculation writes, for the plot's message: a byte
    // order mark, UTF-16 or other zero bytes, a first field that is not one whole number (empty,
    // letters, a decimal comma, two numbers), a second that is neither one nor empty. Empty for
    // a file as the calculation writes it.
    QString damage;
};
std::optional<DataFileFields> ParseDataFile(const QByteArray& content);

// Reads the file, which must be a regular file (see ReadRegularFile: a pipe or device is never
// opened); empty when it is missing, unreadable or holds fewer than two fields, and reason then
// says which.
std::optional<DataFileFields> ReadDataFile(const QString& path, QString* reason = nullptr);
