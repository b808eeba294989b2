// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

// A program in the browser has no folder of its own on a disk. The page puts the pictures and
// the carried fonts in memory, in kWebAppDir, beside the marker of an installed program, so that
// the direction data file lives in the user's data folder; the page keeps that folder in the
// browser's own storage (IndexedDB) and loads it from there before the program starts. Elsewhere
// nothing here does anything.
namespace WebStorage {

inline const QString kWebAppDir = QStringLiteral("/torvel");

// Why the page could not load the user's data folder from the browser's storage (private mode,
// storage turned off); empty when it could, and always outside the browser.
QString StartProblem();

// Saves the user's data folder to the browser's storage once the direction data file at path in
// it has been replaced (an empty path: another file of the folder, such as the recent sites). The
// files land there whole, in one transaction, or not at all; a failure comes later, through the
// handler, once in the run, naming the data file.
void Save(const QString& path);
void SetFailureHandler(std::function<void(const QString& text)> handler);

// Offers content to the user as a download named fileName, as the browser offers any file a
// page hands out (to the download folder, or a question where to put it). Outside the browser
// nothing happens: the windows there ask for a file name themselves.
void OfferDownload(const QByteArray& content, const QString& fileName, const QString& mimeType);

// What START says once when the browser keeps no files: the file at path lasts until the page
// is closed.
QString UnavailableNote(const QString& path, const QString& reason);

// What the program says once when the browser refused to save the file at path.
QString SaveFailedMessage(const QString& path, const QString& reason);

}  // namespace WebStorage
