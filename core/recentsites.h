// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>
#include <optional>

#include "places.h"

// The last sites used in a completed START, newest first, which the town search offers before
// anything is typed. They are kept beside the direction data file, so in the user's data folder
// for a system-wide installation and beside the program in a portable folder that takes files, in
// a small text file: a heading line, then one line a site with its latitude, longitude, name,
// region and country separated by tabs (the name empty for a site typed by hand).

inline constexpr int kRecentSitesKept = 20;

// The file's place beside the direction data file at that path; empty when there is none.
QString RecentSitesPath(const QString& dataFile);

// The sites of the file's content; none when it is damaged (a line that is not a site, or a
// heading that is not the file's).
std::optional<QVector<SiteChoice>> ParseRecentSites(const QByteArray& content);
QByteArray RecentSitesBytes(const QVector<SiteChoice>& sites);

// The list with the site first: the same place further down goes, and so does the oldest beyond
// the twentieth.
QVector<SiteChoice> WithRecentSite(QVector<SiteChoice> sites, const SiteChoice& site);

// The file's sites; a missing file is an empty list, and so is a damaged or unreadable one, with
// one line on standard error that says so.
QVector<SiteChoice> ReadRecentSites(const QString& path);

// Replaces the file with the sites, whole or not at all; on failure reason says why.
bool WriteRecentSites(const QString& path, const QVector<SiteChoice>& sites, QString* reason);
