// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// Towns and satellites by name. A tool run at build time writes the towns of GeoNames (through
// libgeonames, with their Russian names from its catalogue) and the satellites of the DVB-S scan
// tables into one compact table; the program carries it as a resource and reads it when a search
// first opens. Angles are in degrees, north and east positive.

// A town or site as the main window keeps it: chosen from the town search or the recent sites,
// until the site boxes are edited by hand. name is empty for a site known by its coordinates
// alone.
struct SiteChoice {
    bool chosen = false;
    QString name;
    QString region;
    QString country;
    double latitude = 0;
    double longitude = 0;
};
inline bool operator==(const SiteChoice& a, const SiteChoice& b) {
    return a.chosen == b.chosen && a.name == b.name && a.region == b.region &&
           a.country == b.country && a.latitude == b.latitude && a.longitude == b.longitude;
}

// The text both sides of a search are compared in: lower case, ё as е, a Latin letter without its
// accent, and every character that is neither letter nor digit a blank. One character for one,
// so that a place in the folded text is the same place in the name.
QString FoldForSearch(QStringView text);
// What was typed, folded the same way, with runs of blanks made one and none at either end.
QString FoldQuery(QStringView text);

// An angle as the degrees and minutes boxes take it: the minutes to 0.01 with the degrees' sign
// (26°12.14′ south is "-26" and "-12.14"), a whole number of minutes without a point.
struct AngleTexts {
    QString degrees;
    QString minutes;
};
AngleTexts DegreesMinutesTexts(double degrees);

// "55°02′ с.ш. 82°56′ в.д.": a site to the whole minute.
QString SiteCoordinatesText(double latitude, double longitude);
// "36.1° в.д.": a satellite's orbital position to 0.1 degree.
QString OrbitText(double longitude);
// The row of a town or a named site in the town search: "Новосибирск — Новосибирская область,
// Россия (55°02′ с.ш. 82°56′ в.д.)"; the coordinates alone for a site without a name.
QString SiteRowText(const SiteChoice& site);

// A satellite's elevation above the horizon of the site (the Earth a sphere, the satellite on the
// geostationary circle), in degrees.
double SatelliteElevation(double latitude, double longitude, double satelliteLongitude);

// What the generator writes into the table.
struct TownRecord {
    QString name, nameRu;  // nameRu is the name when the catalogue has no Russian one
    QString region, regionRu;
    QString country, countryRu;
    double latitude = 0, longitude = 0;
    quint32 population = 0;
};
struct SatelliteRecord {
    double longitude = 0;  // 0.1 degree east positive
    QStringList names;     // every scan table's satellite at that position
};
struct PlaceSources {
    QString towns;       // where the towns come from and their version
    QString satellites;  // the same for the satellites, with the list's date
};

// The table's bytes: the same records give the same bytes.
QByteArray PlaceTableBytes(const std::vector<TownRecord>& towns,
                           const std::vector<SatelliteRecord>& satellites,
                           const PlaceSources& sources);

// The scan tables' file names ("Hotbird-13.0E", "Eutelsat5_5.0W", "EutelsatW2-16E") as
// satellites, one for each position with all its names, west to east; names that are not of that
// form are left out.
std::vector<SatelliteRecord> SatellitesFromScanTables(const QStringList& fileNames);

struct TownFound {
    int index;
    SiteChoice site;  // Russian name, region and country where the catalogue has them
};

struct SatelliteFound {
    int index;
    double longitude;
    QString name;        // the name that matched, or the first
    QStringList others;  // the other names at that position
};

class PlaceTable {
public:
    // The table read from its bytes; none when they are damaged.
    static std::optional<PlaceTable> fromBytes(const QByteArray& bytes);
    // The table the program carries, read at the first call; null when it has none.
    static const PlaceTable* builtIn();

    int townCount() const { return int(m_towns.size()); }
    int satelliteCount() const { return int(m_satellites.size()); }
    const PlaceSources& sources() const { return m_sources; }
    TownFound town(int index) const;
    // The satellite at that index, name (one of its names) shown first; the first name if none.
    SatelliteFound satellite(int index, const QString& name = {}) const;
    // The Latin name of a town as GeoNames has it.
    QString latinName(int index) const;

    // Towns with a word of their name, Russian or Latin, that starts with what was typed (the
    // rest of the name may follow: "нижний нов"), most people first; at most limit of them.
    std::vector<TownFound> findTowns(QStringView typed, int limit = 50) const;
    // Satellites by a name's word or by position: "36" gives those within half a degree of 36
    // east or west, nearest first, "13E" or "13в" east only, "4W" or "4з" west only, then those
    // whose name holds the number. All of them, west to east, for nothing typed.
    std::vector<SatelliteFound> findSatellites(QStringView typed) const;

private:
    struct Text {
        quint32 offset, length;
    };
    struct Town {
        quint32 name, nameRu, region, regionRu, country, countryRu;  // indexes of m_texts
        qint32 latitude, longitude;                                  // microdegrees
        quint32 population;
    };
    struct Word {
        quint32 text, start, town;  // the name's text, where the word starts in it
    };
    struct Satellite {
        qint32 tenths;
        std::vector<quint32> names;
    };
    QStringView text(quint32 index) const;
    QStringView suffix(const Word& word, const QString& pool) const;

    QString m_pool, m_folded;
    std::vector<Text> m_texts;
    std::vector<Town> m_towns;
    std::vector<Word> m_words;
    std::vector<Satellite> m_satellites;
    PlaceSources m_sources;
};
