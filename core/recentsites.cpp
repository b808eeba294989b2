// SPDX-License-Identifier: GPL-3.0-or-later
#include "recentsites.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <cmath>
#include <cstdio>

#include "fileio.h"
#include "webstorage.h"

namespace {

const QByteArray kHeading = "RASCHET recent sites 1";
// Far more than twenty sites' lines: a larger file is not this program's.
constexpr qint64 kMaxBytes = 64 * 1024;

// A name as one field: no tab or line break inside it.
QByteArray Field(const QString& text) {
    QString field = text;
    for (QChar& c : field)
        if (c == u'\t' || c == u'\n' || c == u'\r') c = u' ';
    return field.toUtf8();
}

bool SamePlace(const SiteChoice& a, const SiteChoice& b) {
    return std::fabs(a.latitude - b.latitude) < 1e-6 && std::fabs(a.longitude - b.longitude) < 1e-6;
}

}  // namespace

QString RecentSitesPath(const QString& dataFile) {
    if (dataFile.isEmpty()) return {};
    return QFileInfo(dataFile).dir().filePath(QStringLiteral("recent-sites.txt"));
}

std::optional<QVector<SiteChoice>> ParseRecentSites(const QByteArray& content) {
    QList<QByteArray> lines = content.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    if (lines.isEmpty() || lines.first().trimmed() != kHeading) return std::nullopt;
    QVector<SiteChoice> sites;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        QByteArray line = lines[i];
        if (line.endsWith('\r')) line.chop(1);
        const QList<QByteArray> fields = line.split('\t');
        if (fields.size() != 5) return std::nullopt;
        bool latitudeRead = false, longitudeRead = false;
        SiteChoice site{true,
                        QString::fromUtf8(fields[2]),
                        QString::fromUtf8(fields[3]),
                        QString::fromUtf8(fields[4]),
                        fields[0].toDouble(&latitudeRead),
                        fields[1].toDouble(&longitudeRead)};
        if (!latitudeRead || !longitudeRead || !(std::fabs(site.latitude) <= 90) ||
            !(std::fabs(site.longitude) <= 360))
            return std::nullopt;
        if (sites.size() < kRecentSitesKept) sites << site;
    }
    return sites;
}

QByteArray RecentSitesBytes(const QVector<SiteChoice>& sites) {
    QByteArray bytes = kHeading + '\n';
    for (const SiteChoice& site : sites)
        bytes += QByteArray::number(site.latitude, 'f', 6) + '\t' +
                 QByteArray::number(site.longitude, 'f', 6) + '\t' + Field(site.name) + '\t' +
                 Field(site.region) + '\t' + Field(site.country) + '\n';
    return bytes;
}

QVector<SiteChoice> WithRecentSite(QVector<SiteChoice> sites, const SiteChoice& site) {
    sites.removeIf([&](const SiteChoice& kept) { return SamePlace(kept, site); });
    sites.prepend(site);
    if (sites.size() > kRecentSitesKept) sites.resize(kRecentSitesKept);
    return sites;
}

QVector<SiteChoice> ReadRecentSites(const QString& path) {
    const FileRead read = ReadRegularFile(path, kMaxBytes + 1);
    if (read.problem == ReadProblem::Missing) return {};
    std::optional<QVector<SiteChoice>> sites;
    if (read.problem == ReadProblem::None && read.content.size() <= kMaxBytes)
        sites = ParseRecentSites(read.content);
    if (!sites) {
        const QString why =
            read.problem == ReadProblem::None ? QStringLiteral("список повреждён") : read.reason;
        std::fprintf(stderr, "%s: недавние места из %s не прочитаны (%s)\n",
                     qPrintable(QCoreApplication::applicationName()),
                     qPrintable(QDir::toNativeSeparators(path)), qPrintable(why));
        std::fflush(stderr);
        return {};
    }
    return *sites;
}

bool WriteRecentSites(const QString& path, const QVector<SiteChoice>& sites, QString* reason) {
    const Replacement result = ReplaceFile(path, RecentSitesBytes(sites));
    if (!result.replaced && reason) *reason = result.reason;
    // In the browser the list lives in the same saved folder as the data file.
    if (result.replaced) WebStorage::Save(QString());
    return result.replaced;
}
