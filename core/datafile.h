#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// The direction data file carries satellite 1's azimuth and elevation from the calculation to
// the direction plot: one line, "azimuth,elevation" and CR LF, '.' as the decimal point.
inline const QString kDataFileName = QStringLiteral("rlin1.txt");

// Where the calculation writes the file and the plot reads it, for a program directory: beside
// the executable whenever that directory is writable, otherwise (a system-wide installation) in
// the user's own data directory. Both windows call this one function, so they always agree.
QString DataFilePath(const QString& appDir);

// The folder that holds the file: the program directory when it is writable, else the user's data
// directory (when there is none, the program directory all the same, and writing reports why).
QString DataFileDirectory(const QString& appDir, bool appDirWritable, const QString& userDataDir);

// Whether a new file can be created in the directory, tried for real by creating and removing a
// probe file: permission bits alone do not tell (a read-only mount, an administrator's rights).
bool DirectoryWritable(const QString& dir);

// The user's data directory for this program (created by WriteDataFile when first needed).
QString UserDataDirectory();

// The file's whole content; the elevation field is empty when there is no elevation.
QByteArray DataFileLine(double azimuth, std::optional<double> elevation);

// Replaces the file with the line through a temporary file in the same folder and a rename, so
// that a failure at any point leaves the previous file whole; creates the folder when it is
// missing. On failure, error says why.
bool WriteDataFile(const QString& path, double azimuth, std::optional<double> elevation,
                   QString* error);

// The first two fields of the file as texts, each ending at a comma or a line end; anything
// after them is not read. Empty when the content holds fewer than two fields.
struct DataFileFields {
    QString azimuth;
    QString elevation;
};
std::optional<DataFileFields> ParseDataFile(const QByteArray& content);

// Reads the file; empty when it is missing, unreadable or holds fewer than two fields.
std::optional<DataFileFields> ReadDataFile(const QString& path);
