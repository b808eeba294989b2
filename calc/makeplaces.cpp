// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the towns and satellites table the program carries: every town of libgeonames with its
// Latin name and, where its catalogue has them, its Russian name, region and country; and every
// satellite of the DVB-S scan tables by position. Run at build time on the build machine:
//   makeplaces TABLE SCAN_TABLES_FOLDER GEONAMES_VERSION SCAN_TABLES_VERSION
// The library gives its names in the language of the process's locale and keeps what it once
// translated, so the tool asks a copy of itself for each language:
//   makeplaces --names     one line a town: name, region, country, latitude, longitude,
//                          population, separated by tabs
// glib names a member "signals", which Qt's keywords would take: the tool is built without them.
#include <geonames.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <clocale>
#include <cstdio>

#include "places.h"

namespace {

int PrintNames() {
    std::setlocale(LC_ALL, "");
    const int count = geonames_get_n_cities();
    for (int i = 0; i < count; ++i) {
        GeonamesCity* city = geonames_get_city(i);
        std::printf("%s\t%s\t%s\t%.6f\t%.6f\t%u\n", geonames_city_get_name(city),
                    geonames_city_get_state(city), geonames_city_get_country(city),
                    geonames_city_get_latitude(city), geonames_city_get_longitude(city),
                    geonames_city_get_population(city));
        geonames_city_free(city);
    }
    return 0;
}

// The towns' lines in one language: the C locale gives the names as GeoNames has them, Russian
// the catalogue's.
QList<QStringList> NamesIn(const char* language) {
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("LANG"));
    env.remove(QStringLiteral("LC_MESSAGES"));
    if (language) {
        env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
        env.insert(QStringLiteral("LANGUAGE"), QString::fromLatin1(language));
    } else {
        env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
        env.remove(QStringLiteral("LANGUAGE"));
    }
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--names")});
    if (!child.waitForFinished(-1) || child.exitCode() != 0) return {};
    QList<QStringList> lines;
    for (const QByteArray& line : child.readAllStandardOutput().split('\n'))
        if (!line.isEmpty()) lines << QString::fromUtf8(line).split(u'\t');
    return lines;
}

// "0+git20190925.6d01903-0.1": the list of 25.09.2019.
QString DatedVersion(const QString& version) {
    const QRegularExpressionMatch date =
        QRegularExpression(QStringLiteral("(\\d{4})(\\d{2})(\\d{2})")).match(version);
    if (!date.hasMatch()) return version;
    return QStringLiteral("%1, от %2.%3.%4")
        .arg(version, date.captured(3), date.captured(2), date.captured(1));
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 2 && args[1] == u"--names") return PrintNames();
    if (args.size() != 5) {
        std::fprintf(stderr,
                     "usage: makeplaces TABLE SCAN_TABLES_FOLDER GEONAMES_VERSION "
                     "SCAN_TABLES_VERSION\n");
        return 2;
    }

    const QList<QStringList> latin = NamesIn(nullptr), russian = NamesIn("ru");
    if (latin.isEmpty() || latin.size() != russian.size()) {
        std::fprintf(stderr,
                     "makeplaces: libgeonames gave no towns or not the same in both "
                     "languages\n");
        return 1;
    }
    std::vector<TownRecord> towns;
    for (qsizetype i = 0; i < latin.size(); ++i) {
        const QStringList& en = latin[i];
        const QStringList& ru = russian[i];
        if (en.size() != 6 || ru.size() != 6) {
            std::fprintf(stderr, "makeplaces: town %lld is not of six fields\n", qlonglong(i));
            return 1;
        }
        towns.push_back({en[0], ru[0], en[1], ru[1], en[2], ru[2], en[3].toDouble(),
                         en[4].toDouble(), en[5].toUInt()});
    }

    const QStringList files = QDir(args[2]).entryList(QDir::Files, QDir::Name);
    const std::vector<SatelliteRecord> satellites = SatellitesFromScanTables(files);
    if (satellites.empty()) {
        std::fprintf(stderr, "makeplaces: no scan tables in %s\n", qPrintable(args[2]));
        return 1;
    }

    const PlaceSources sources{QStringLiteral("GeoNames (CC BY 4.0), libgeonames %1").arg(args[3]),
                               QStringLiteral("dtv-scan-tables %1").arg(DatedVersion(args[4]))};
    QFile out(args[1]);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        out.write(PlaceTableBytes(towns, satellites, sources)) < 0 || !out.flush()) {
        std::fprintf(stderr, "makeplaces: cannot write %s\n", qPrintable(args[1]));
        return 1;
    }
    return 0;
}
