// SPDX-License-Identifier: GPL-3.0-or-later
#include "places.h"

#include <QDataStream>
#include <QHash>
#include <QIODevice>
#include <QRegularExpression>
#include <QResource>
#include <QtEndian>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <map>
#include <type_traits>

namespace {

constexpr quint32 kMagic = 0x4c505654;  // "TVPL"
constexpr quint32 kVersion = 2;
constexpr double kMicro = 1e6;

QChar FoldChar(QChar c) {
    // Latin and Russian letters, most of every name, without asking the Unicode tables.
    const char16_t u = c.unicode();
    if (u < 0x80) {
        if (u >= 'A' && u <= 'Z') return QChar(u + 0x20);
        return (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9') ? c : QChar(u' ');
    }
    if (u >= 0x0430 && u <= 0x044f) return c;                // а..я
    if (u >= 0x0410 && u <= 0x042f) return QChar(u + 0x20);  // А..Я
    if (!c.isLetterOrNumber()) return u' ';
    c = c.toCaseFolded();
    if (c == u'ё') return u'е';
    // A Latin letter with an accent as its letter alone: "São Paulo" is found by "sao".
    if (c.unicode() < 0x250 && c.decompositionTag() == QChar::Canonical)
        return c.decomposition().at(0).toCaseFolded();
    return c;
}

QString Minutes2(long long minutes) {
    return QStringLiteral("%1").arg(minutes, 2, 10, QLatin1Char('0'));
}

// Whole degrees and minutes of |degrees|, to the minute.
QString WholeMinutes(double degrees, const char* positive, const char* negative) {
    const long long minutes = std::llround(std::fabs(degrees) * 60);
    return QStringLiteral("%1°%2′ %3")
        .arg(minutes / 60)
        .arg(Minutes2(minutes % 60), QString::fromUtf8(degrees < 0 ? negative : positive));
}

// Records of 32-bit fields, stored by columns: each field's lowest bytes of every record, then
// its next bytes, and so on. Neighbouring bytes alike (a field's high bytes are mostly equal) let
// zlib shrink the table to two thirds of what the records one after the other take.
void WriteColumns(QDataStream& out, const std::vector<quint32>& fields, int perRecord) {
    const size_t count = fields.size() / size_t(perRecord);
    out << quint32(count);
    for (int f = 0; f < perRecord; ++f)
        for (int shift = 0; shift < 32; shift += 8)
            for (size_t i = 0; i < count; ++i)
                out << quint8(fields[i * size_t(perRecord) + size_t(f)] >> shift);
}

// Reads what WriteColumns wrote; false when the bytes left are fewer.
template <typename Record>
bool ReadRecords(QDataStream& in, quint32 count, std::vector<Record>& records) {
    static_assert(sizeof(Record) % 4 == 0 && std::is_trivially_copyable_v<Record>);
    constexpr size_t perRecord = sizeof(Record) / 4;
    const qint64 size = qint64(count) * qint64(sizeof(Record));
    if (in.status() != QDataStream::Ok || size > in.device()->bytesAvailable()) return false;
    QByteArray bytes(size, Qt::Uninitialized);
    if (in.readRawData(bytes.data(), int(size)) != size) return false;
    std::vector<quint32> fields(size_t(count) * perRecord, 0);
    const uchar* byte = reinterpret_cast<const uchar*>(bytes.constData());
    for (size_t f = 0; f < perRecord; ++f)
        for (int shift = 0; shift < 32; shift += 8)
            for (size_t i = 0; i < count; ++i)
                fields[i * perRecord + f] |= quint32(*byte++) << shift;
    records.resize(count);
    std::memcpy(records.data(), fields.data(), size_t(size));
    return true;
}

}  // namespace

QString FoldForSearch(QStringView text) {
    QString folded(text.size(), Qt::Uninitialized);
    QChar* out = folded.data();
    for (QChar c : text) *out++ = FoldChar(c);
    return folded;
}

QString FoldQuery(QStringView text) {
    return FoldForSearch(text).simplified();
}

AngleTexts DegreesMinutesTexts(double degrees) {
    // Rounded once, in hundredths of a minute, so that 59.999′ carries into the next degree.
    const long long hundredths = std::llround(std::fabs(degrees) * 6000);
    const long long whole = hundredths / 6000, rest = hundredths % 6000;
    QString minutes = QString::number(rest / 100);
    if (rest % 100) {
        minutes += QStringLiteral(".%1").arg(Minutes2(rest % 100));
        if (minutes.endsWith(u'0')) minutes.chop(1);
    }
    const bool negative = degrees < 0;
    AngleTexts texts{QString::number(whole), minutes};
    if (negative && whole) texts.degrees.prepend(u'-');
    if (negative && rest) texts.minutes.prepend(u'-');
    return texts;
}

QString SiteCoordinatesText(double latitude, double longitude) {
    return WholeMinutes(latitude, "с.ш.", "ю.ш.") + u' ' + WholeMinutes(longitude, "в.д.", "з.д.");
}

QString OrbitText(double longitude) {
    return QStringLiteral("%1° %2")
        .arg(std::fabs(longitude), 0, 'f', 1)
        .arg(longitude < 0 ? QStringLiteral("з.д.") : QStringLiteral("в.д."));
}

QString SiteRowText(const SiteChoice& site) {
    const QString where = SiteCoordinatesText(site.latitude, site.longitude);
    if (site.name.isEmpty()) return where;
    QStringList around;
    if (!site.region.isEmpty()) around << site.region;
    if (!site.country.isEmpty()) around << site.country;
    if (around.isEmpty()) return QStringLiteral("%1 (%2)").arg(site.name, where);
    return QStringLiteral("%1 — %2 (%3)").arg(site.name, around.join(QStringLiteral(", ")), where);
}

double SatelliteElevation(double latitude, double longitude, double satelliteLongitude) {
    // The geostationary radius over the Earth's, 42164 km over 6378 km.
    constexpr double kEarthOverOrbit = 6378.137 / 42164.0;
    const double rad = M_PI / 180;
    const double c = std::cos(latitude * rad) * std::cos((satelliteLongitude - longitude) * rad);
    return std::atan2(c - kEarthOverOrbit, std::sqrt(std::max(0.0, 1 - c * c))) / rad;
}

std::vector<SatelliteRecord> SatellitesFromScanTables(const QStringList& fileNames) {
    static const QRegularExpression form(QStringLiteral("^(.+?)[-_](\\d+(?:\\.\\d+)?)([EW])$"));
    std::map<int, QStringList> byTenths;
    for (const QString& file : fileNames) {
        const QRegularExpressionMatch match = form.match(file);
        if (!match.hasMatch()) continue;
        int tenths = int(std::lround(match.captured(2).toDouble() * 10));
        if (match.captured(3) == u"W") tenths = -tenths;
        QStringList& names = byTenths[tenths];
        if (!names.contains(match.captured(1))) names << match.captured(1);
    }
    std::vector<SatelliteRecord> satellites;
    for (auto& [tenths, names] : byTenths) {
        names.sort();
        satellites.push_back({tenths / 10.0, names});
    }
    return satellites;
}

QByteArray PlaceTableBytes(const std::vector<TownRecord>& towns,
                           const std::vector<SatelliteRecord>& satellites,
                           const PlaceSources& sources) {
    // Every distinct text once, in the order first met.
    QString pool;
    std::vector<std::pair<quint32, quint32>> texts;
    QHash<QString, quint32> known;
    auto add = [&](const QString& text) {
        auto it = known.constFind(text);
        if (it != known.constEnd()) return *it;
        const quint32 index = quint32(texts.size());
        texts.emplace_back(quint32(pool.size()), quint32(text.size()));
        pool += text;
        known.insert(text, index);
        return index;
    };
    const quint32 townsSource = add(sources.towns), satellitesSource = add(sources.satellites);

    struct Word {
        quint32 text, start, town;
    };
    std::vector<std::array<quint32, 6>> townTexts;
    std::vector<Word> words;
    for (const TownRecord& town : towns) {
        const std::array<quint32, 6> ids{add(town.name),    add(town.nameRu),
                                         add(town.region),  add(town.regionRu),
                                         add(town.country), add(town.countryRu)};
        const quint32 townIndex = quint32(townTexts.size());
        townTexts.push_back(ids);
        for (quint32 name : {ids[0], ids[1]}) {
            if (name == ids[1] && ids[1] == ids[0]) continue;
            const QString folded =
                FoldForSearch(QStringView(pool).mid(texts[name].first, texts[name].second));
            for (qsizetype i = 0; i < folded.size(); ++i)
                if (folded[i] != u' ' && (i == 0 || folded[i - 1] == u' '))
                    words.push_back({name, quint32(i), townIndex});
        }
    }
    // Words in the order of their folded text to the end of the name; a word found twice in one
    // town (a Russian name the same as the Latin one) once.
    const QString folded = FoldForSearch(pool);
    auto suffix = [&](const Word& w) {
        return QStringView(folded).mid(texts[w.text].first + w.start,
                                       texts[w.text].second - w.start);
    };
    std::sort(words.begin(), words.end(), [&](const Word& a, const Word& b) {
        const int order = suffix(a).compare(suffix(b));
        if (order != 0) return order < 0;
        if (a.town != b.town) return a.town < b.town;
        return a.text < b.text;
    });
    words.erase(std::unique(words.begin(), words.end(),
                            [&](const Word& a, const Word& b) {
                                return a.town == b.town && suffix(a) == suffix(b);
                            }),
                words.end());

    std::vector<std::vector<quint32>> satelliteNames;
    for (const SatelliteRecord& satellite : satellites) {
        std::vector<quint32> ids;
        for (const QString& name : satellite.names) ids.push_back(add(name));
        satelliteNames.push_back(ids);
    }

    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out << kMagic << kVersion << quint32(pool.size());
    for (QChar c : std::as_const(pool)) out << quint16(c.unicode());
    // The texts lie in the pool one after the other: their lengths say where each starts.
    std::vector<quint32> fields;
    for (const auto& text : texts) fields.push_back(text.second);
    WriteColumns(out, fields, 1);
    out << townsSource << satellitesSource;
    fields.clear();
    for (size_t i = 0; i < towns.size(); ++i) {
        fields.insert(fields.end(), townTexts[i].begin(), townTexts[i].end());
        fields.push_back(quint32(qint32(std::lround(towns[i].latitude * kMicro))));
        fields.push_back(quint32(qint32(std::lround(towns[i].longitude * kMicro))));
        fields.push_back(towns[i].population);
    }
    WriteColumns(out, fields, 9);
    fields.clear();
    for (const Word& w : words) fields.insert(fields.end(), {w.text, w.start, w.town});
    WriteColumns(out, fields, 3);
    out << quint32(satellites.size());
    for (size_t i = 0; i < satellites.size(); ++i) {
        out << qint32(std::lround(satellites[i].longitude * 10))
            << quint32(satelliteNames[i].size());
        for (quint32 id : satelliteNames[i]) out << id;
    }
    return bytes;
}

std::optional<PlaceTable> PlaceTable::fromBytes(const QByteArray& bytes) {
    QDataStream in(bytes);
    in.setByteOrder(QDataStream::LittleEndian);
    PlaceTable table;
    quint32 magic = 0, version = 0, poolSize = 0, count = 0;
    in >> magic >> version >> poolSize;
    if (magic != kMagic || version != kVersion || poolSize > quint32(bytes.size()) / 2)
        return std::nullopt;
    // Every count is checked against the bytes left before anything is made that large.
    auto fits = [&](quint32 n, qint64 size) {
        return in.status() == QDataStream::Ok && qint64(n) * size <= in.device()->bytesAvailable();
    };
    table.m_pool.resize(poolSize);
    if (in.readRawData(reinterpret_cast<char*>(table.m_pool.data()), int(poolSize) * 2) !=
        int(poolSize) * 2)
        return std::nullopt;
    qFromLittleEndian<quint16>(table.m_pool.constData(), poolSize, table.m_pool.data());

    in >> count;
    std::vector<quint32> lengths;
    if (!ReadRecords(in, count, lengths)) return std::nullopt;
    table.m_texts.resize(count);
    quint64 offset = 0;
    for (quint32 i = 0; i < count; ++i) {
        table.m_texts[i] = {quint32(offset), lengths[i]};
        offset += lengths[i];
        if (offset > poolSize) return std::nullopt;
    }
    const quint32 texts = count;
    auto valid = [&](quint32 id) { return id < texts; };
    quint32 townsSource = 0, satellitesSource = 0;
    in >> townsSource >> satellitesSource >> count;
    if (!valid(townsSource) || !valid(satellitesSource) || !ReadRecords(in, count, table.m_towns))
        return std::nullopt;
    for (const Town& t : table.m_towns)
        for (quint32 id : {t.name, t.nameRu, t.region, t.regionRu, t.country, t.countryRu})
            if (!valid(id)) return std::nullopt;
    in >> count;
    if (!ReadRecords(in, count, table.m_words)) return std::nullopt;
    for (const Word& w : table.m_words)
        if (!valid(w.text) || w.start >= table.m_texts[w.text].length ||
            w.town >= table.m_towns.size())
            return std::nullopt;
    in >> count;
    if (!fits(count, 8)) return std::nullopt;
    table.m_satellites.resize(count);
    for (Satellite& s : table.m_satellites) {
        quint32 names = 0;
        in >> s.tenths >> names;
        if (!fits(names, 4)) return std::nullopt;
        s.names.resize(names);
        for (quint32& id : s.names) {
            in >> id;
            if (!valid(id)) return std::nullopt;
        }
    }
    if (in.status() != QDataStream::Ok || !in.atEnd()) return std::nullopt;
    table.m_folded = FoldForSearch(table.m_pool);
    table.m_sources = {table.text(townsSource).toString(), table.text(satellitesSource).toString()};
    return table;
}

const PlaceTable* PlaceTable::builtIn() {
    // Unpacked once, straight from the resource: a file read through it would hold a second copy.
    static const std::optional<PlaceTable> table = [] {
        const QResource resource(QStringLiteral(":/places/places.bin"));
        return resource.isValid() ? fromBytes(resource.uncompressedData()) : std::nullopt;
    }();
    return table ? &*table : nullptr;
}

QStringView PlaceTable::text(quint32 index) const {
    return QStringView(m_pool).mid(m_texts[index].offset, m_texts[index].length);
}

QStringView PlaceTable::suffix(const Word& word, const QString& pool) const {
    const Text& t = m_texts[word.text];
    return QStringView(pool).mid(t.offset + word.start, t.length - word.start);
}

TownFound PlaceTable::town(int index) const {
    const Town& t = m_towns[size_t(index)];
    return {index,
            {true, text(t.nameRu).toString(), text(t.regionRu).toString(),
             text(t.countryRu).toString(), t.latitude / kMicro, t.longitude / kMicro}};
}

QString PlaceTable::latinName(int index) const {
    return text(m_towns[size_t(index)].name).toString();
}

std::vector<TownFound> PlaceTable::findTowns(QStringView typed, int limit) const {
    const QString query = FoldQuery(typed);
    if (query.isEmpty()) return {};
    // The words that start with the query lie together in the table's order.
    auto head = [&](const Word& w) { return suffix(w, m_folded).left(query.size()); };
    const auto first =
        std::lower_bound(m_words.begin(), m_words.end(), query,
                         [&](const Word& w, const QString& q) { return head(w) < q; });
    const auto last = std::upper_bound(
        first, m_words.end(), query, [&](const QString& q, const Word& w) { return q < head(w); });
    std::vector<quint32> towns;
    towns.reserve(size_t(last - first));
    for (auto it = first; it != last; ++it) towns.push_back(it->town);
    std::sort(towns.begin(), towns.end());
    towns.erase(std::unique(towns.begin(), towns.end()), towns.end());
    const auto more = [&](quint32 a, quint32 b) {
        if (m_towns[a].population != m_towns[b].population)
            return m_towns[a].population > m_towns[b].population;
        return a < b;
    };
    const size_t shown = std::min(towns.size(), size_t(std::max(limit, 0)));
    std::partial_sort(towns.begin(), towns.begin() + qsizetype(shown), towns.end(), more);
    std::vector<TownFound> found;
    for (size_t i = 0; i < shown; ++i) found.push_back(town(int(towns[i])));
    return found;
}

SatelliteFound PlaceTable::satellite(int index, const QString& name) const {
    const Satellite& s = m_satellites[size_t(index)];
    SatelliteFound found{index, s.tenths / 10.0, name, {}};
    for (quint32 id : s.names) {
        const QString other = text(id).toString();
        if (found.name.isEmpty())
            found.name = other;
        else if (other != found.name)
            found.others << other;
    }
    return found;
}

std::vector<SatelliteFound> PlaceTable::findSatellites(QStringView typed) const {
    std::vector<SatelliteFound> found;
    const QString query = FoldQuery(typed);
    if (query.isEmpty()) {
        for (int i = 0; i < satelliteCount(); ++i) found.push_back(satellite(i, {}));
        return found;
    }
    std::vector<bool> taken(m_satellites.size());
    // A position: degrees with an optional fraction and side, "13", "19.2", "13E", "4 з.д.".
    static const QRegularExpression position(QStringLiteral(
        "^(\\d+(?:[.,]\\d+)?)\\s*°?\\s*(e|w|в|з|в\\.?\\s*д\\.?|з\\.?\\s*д\\.?|east|west)?$"));
    const QRegularExpressionMatch match = position.match(typed.toString().trimmed().toCaseFolded());
    std::vector<int> byPosition;
    if (match.hasMatch()) {
        const int tenths = int(std::lround(match.captured(1).replace(u',', u'.').toDouble() * 10));
        const QString side = match.captured(2);
        const bool east = side.isEmpty() || side.startsWith(u'e') || side.startsWith(u'в');
        const bool west = side.isEmpty() || side.startsWith(u'w') || side.startsWith(u'з');
        for (int i = 0; i < satelliteCount(); ++i) {
            const qint32 at = m_satellites[size_t(i)].tenths;
            if (((at >= 0 && east) || (at < 0 && west)) && std::abs(std::abs(at) - tenths) <= 5)
                byPosition.push_back(i);
        }
    }
    // Names that hold the query at the start of a word.
    std::vector<std::pair<int, QString>> byName;
    for (int i = 0; i < satelliteCount(); ++i) {
        for (quint32 id : m_satellites[size_t(i)].names) {
            const QString name = FoldQuery(text(id));
            const bool wordStart = name.startsWith(query) || name.contains(u' ' + query);
            // Glued names too: "hotbird" in "hot bird", "yamal401" in "yamal 401".
            const bool glued = QString(name).remove(u' ').startsWith(QString(query).remove(u' '));
            if (wordStart || glued) {
                byName.emplace_back(i, text(id).toString());
                break;
            }
        }
    }
    // The nearest positions first; of two as near, one whose name holds the number.
    auto named = [&](int i) {
        return std::any_of(byName.begin(), byName.end(),
                           [i](const auto& n) { return n.first == i; });
    };
    const int wanted = match.hasMatch()
                           ? int(std::lround(match.captured(1).replace(u',', u'.').toDouble() * 10))
                           : 0;
    std::stable_sort(byPosition.begin(), byPosition.end(), [&](int a, int b) {
        const int da = std::abs(std::abs(m_satellites[size_t(a)].tenths) - wanted);
        const int db = std::abs(std::abs(m_satellites[size_t(b)].tenths) - wanted);
        if (da != db) return da < db;
        return named(a) && !named(b);
    });
    for (int i : byPosition) {
        taken[size_t(i)] = true;
        QString name;
        for (const auto& [index, matched] : byName)
            if (index == i) name = matched;
        found.push_back(satellite(i, name));
    }
    for (const auto& [index, name] : byName)
        if (!taken[size_t(index)]) found.push_back(satellite(index, name));
    return found;
}
