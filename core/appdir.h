#pragma once

#include <QString>

// The program directory as each window keeps it: the directory that holds the executable (never
// the current working directory), with one trailing separator removed. Only a root directory is
// reported with one ("C:\" or "/"), so the root gives "C:" or the empty text, and joining a file
// name with a separator gives "C:\rlin1.txt" or "/rlin1.txt" again.
QString AppDirFrom(const QString& reportedPath);

// AppDirFrom applied to the directory the platform reports for the running executable.
QString AppDir();

// A file of the program directory: AppDir, the platform's separator, the name.
QString AppFilePath(const QString& appDir, const QString& fileName);
