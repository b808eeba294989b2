// SPDX-License-Identifier: GPL-3.0-or-later
#include <QDir>
#include <QTest>

#include "places.h"
#include "recentsites.h"

#ifdef TORVEL_HAVE_GEONAMES
#include <geonames.h>

#include <clocale>
#endif

// The towns and satellites table the program carries, its search and the texts it writes.
class TestPlaces : public QObject {
    Q_OBJECT
    const PlaceTable* m_table = nullptr;

private Q_SLOTS:
    void initTestCase() {
        m_table = PlaceTable::builtIn();
        QVERIFY(m_table);
    }

    void angleTexts_data() {
        QTest::addColumn<double>("degrees");
        QTest::addColumn<QString>("whole");
        QTest::addColumn<QString>("minutes");
        const auto row = [](const char* name, double degrees, const char* whole,
                            const char* minutes) {
            QTest::newRow(name) << degrees << QString(whole) << QString(minutes);
        };
        row("Novosibirsk east", 82.9346, "82", "56.08");
        row("Novosibirsk north, minutes below 10", 55.0415, "55", "2.49");
        row("rounded up, not cut", 28.04363, "28", "2.62");
        row("south: minutes negative too", -26.20227, "-26", "-12.14");
        row("west below one degree: the minutes carry the sign", -0.1257, "0", "-7.54");
        row("whole degrees", 13.0, "13", "0");
        row("tenth of a degree", 36.1, "36", "6");
        row("59.999 minutes carry into the degree", 59.99999, "60", "0");
        row("half a degree west", -74.5, "-74", "-30");
    }
    void angleTexts() {
        QFETCH(double, degrees);
        QFETCH(QString, whole);
        QFETCH(QString, minutes);
        const AngleTexts texts = DegreesMinutesTexts(degrees);
        QCOMPARE(texts.degrees, whole);
        QCOMPARE(texts.minutes, minutes);
    }

    void towns_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("first");  // the first row
        const auto row = [](const char* name, const char* typed, const char* first) {
            QTest::newRow(name) << QString::fromUtf8(typed) << QString::fromUtf8(first);
        };
        row("Russian prefix", "новосиб",
            "Новосибирск — Новосибирская область, Россия (55°02′ с.ш. 82°56′ в.д.)");
        row("Latin prefix, south", "johannes",
            "Йоханнесбург — Гаутенг, Южно-Африканская Республика (26°12′ ю.ш. 28°03′ в.д.)");
        row("capitals and blanks", "  НОВОСИБ ",
            "Новосибирск — Новосибирская область, Россия (55°02′ с.ш. 82°56′ в.д.)");
        row("е for ё", "орел", "Орёл — Орловская область, Россия (52°58′ с.ш. 36°05′ в.д.)");
        row("ё typed", "ОРЁЛ", "Орёл — Орловская область, Россия (52°58′ с.ш. 36°05′ в.д.)");
        row("a later word", "новгород",
            "Нижний Новгород — Нижегородская область, Россия (56°20′ с.ш. 44°00′ в.д.)");
        row("two words, a hyphen typed as a blank", "ростов на",
            "Ростов-на-Дону — Ростовская область, Россия (47°14′ с.ш. 39°43′ в.д.)");
        row("Latin without its accent", "sao p",
            "Сан-Паулу — São Paulo, Бразилия (23°33′ ю.ш. 46°38′ з.д.)");
        row("most people first", "mos", "Москва — Москва, Россия (55°45′ с.ш. 37°37′ в.д.)");
        row("inside a word is no match", "сибирск",
            "Усолье-Сибирское — Иркутская область, Россия (52°45′ с.ш. 103°39′ в.д.)");
        row("nothing typed", " - ", nullptr);
    }
    void towns() {
        QFETCH(QString, typed);
        QFETCH(QString, first);
        const std::vector<TownFound> found = m_table->findTowns(typed);
        QCOMPARE(found.empty() ? QString() : SiteRowText(found.front().site), first);
        for (size_t i = 1; i < found.size(); ++i) QVERIFY(found[i].index != found[0].index);
    }

    void satellites_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<double>("longitude");  // of the first row
        QTest::addColumn<QString>("row");       // its names
        QTest::newRow("name") << "Hotbird" << 13.0
                              << "Hotbird, Hotbird-13B, Hotbird-13C, Hotbird-13E";
        QTest::newRow("name with a blank for the hyphen")
            << "yamal 401" << 90.0 << "Yamal-401, Yamal201";
        QTest::newRow("glued name")
            << "astra1kr" << 19.2 << "Astra-1KR, Astra, Astra-1L, Astra-1M, Astra-1N";
        QTest::newRow("position, the name with the number first") << "36" << 35.9 << "Eutelsat-36B";
        QTest::newRow("position east") << "20E" << 20.0 << "Arabsat-5C";
        QTest::newRow("position west") << "4W" << -4.0 << "Amos, Amos-3";
        QTest::newRow("position west in Russian") << "4 з.д." << -4.0 << "Amos, Amos-3";
        QTest::newRow("position with a fraction")
            << "19,2" << 19.2 << "Astra, Astra-1KR, Astra-1L, Astra-1M, Astra-1N";
    }
    void satellites() {
        QFETCH(QString, typed);
        QFETCH(double, longitude);
        QFETCH(QString, row);
        const std::vector<SatelliteFound> found = m_table->findSatellites(typed);
        QVERIFY(!found.empty());
        QCOMPARE(found.front().longitude, longitude);
        QCOMPARE((QStringList(found.front().name) + found.front().others).join(u", "), row);
    }

    // Nothing typed lists every position once, west to east.
    void allSatellites() {
        const std::vector<SatelliteFound> all = m_table->findSatellites(QString());
        QCOMPARE(int(all.size()), m_table->satelliteCount());
        for (size_t i = 1; i < all.size(); ++i) QVERIFY(all[i - 1].longitude < all[i].longitude);
    }

    // Every scan table of the package is a satellite of the table at its position.
    void everyScanTable() {
        const QStringList files =
            QDir(QStringLiteral("/usr/share/dvb/dvb-s")).entryList(QDir::Files);
        if (files.isEmpty()) QSKIP("dtv-scan-tables is not installed");
        const std::vector<SatelliteRecord> expected = SatellitesFromScanTables(files);
        QCOMPARE(int(expected.size()), m_table->satelliteCount());
        for (int i = 0; i < m_table->satelliteCount(); ++i) {
            const SatelliteFound s = m_table->satellite(i);
            QCOMPARE(s.longitude, expected[size_t(i)].longitude);
            QCOMPARE(QStringList(s.name) + s.others, expected[size_t(i)].names);
        }
        QVERIFY(files.contains(u"EutelsatW2-16E"_qs) && files.contains(u"Eutelsat5_5.0W"_qs));
        QCOMPARE(m_table->findSatellites(u"EutelsatW2"_qs).front().longitude, 16.0);
        QCOMPARE(m_table->findSatellites(u"Eutelsat5"_qs).front().longitude, -5.0);
    }

#ifdef TORVEL_HAVE_GEONAMES
    // The table against libgeonames itself: every town, with the Russian name, region and
    // country of its catalogue, and its own query's best town found by the same words.
    void againstLibgeonames_data() {
        QTest::addColumn<QString>("typed");
        for (const char* name :
             {"Новосиб", "Johannes",       "Москва",     "Санкт-Петербург", "Тверия",
              "Париж",   "London",         "New York",   "Dubai",           "Екатеринбург",
              "Tokyo",   "Владивосток",    "Sydney",     "Buenos Aires",    "Киев",
              "Cairo",   "Рио-де-Жанейро", "Wellington", "Berlin",          "Хабаровск"})
            QTest::newRow(name) << QString::fromUtf8(name);
    }
    void againstLibgeonames() {
        QFETCH(QString, typed);
        QCOMPARE(m_table->townCount(), geonames_get_n_cities());
        guint length = 0;
        g_autofree gint* indexes = geonames_query_cities_sync(
            typed.toUtf8().constData(), GEONAMES_QUERY_DEFAULT, &length, nullptr, nullptr);
        QVERIFY(length > 0);
        GeonamesCity* city = geonames_get_city(indexes[0]);
        const TownFound town = m_table->town(indexes[0]);
        QCOMPARE(town.site.name, QString::fromUtf8(geonames_city_get_name(city)));
        QCOMPARE(town.site.region, QString::fromUtf8(geonames_city_get_state(city)));
        QCOMPARE(town.site.country, QString::fromUtf8(geonames_city_get_country(city)));
        QVERIFY(qAbs(town.site.latitude - geonames_city_get_latitude(city)) < 1e-6);
        QVERIFY(qAbs(town.site.longitude - geonames_city_get_longitude(city)) < 1e-6);
        geonames_city_free(city);
        const std::vector<TownFound> found = m_table->findTowns(typed, 1000);
        QVERIFY(std::any_of(found.begin(), found.end(),
                            [&](const TownFound& t) { return t.index == indexes[0]; }));
    }
#endif

    // The recent sites' file: what is written reads back, newest first, twenty at most, one place
    // once; a damaged file is no list at all.
    void recentSites() {
        QVector<SiteChoice> sites;
        for (int i = 0; i < 25; ++i)
            sites = WithRecentSite(sites, {true, QStringLiteral("Town\t%1").arg(i), "Region",
                                           "Country", -10.5 - i, 20.25 + i});
        sites = WithRecentSite(sites, {true, QString(), {}, {}, -11.5, 21.25});
        QCOMPARE(sites.size(), kRecentSitesKept);
        QCOMPARE(sites[0].name, QString());
        QCOMPARE(sites[1].name, u"Town\t24"_qs);
        QVERIFY(std::none_of(sites.begin() + 1, sites.end(),
                             [](const SiteChoice& s) { return s.latitude == -11.5; }));
        const std::optional<QVector<SiteChoice>> read = ParseRecentSites(RecentSitesBytes(sites));
        QVERIFY(read);
        QCOMPARE(read->size(), sites.size());
        QCOMPARE(read->at(1).name, u"Town 24"_qs);  // a tab would split the line
        QCOMPARE(read->at(1).latitude, sites[1].latitude);
        QCOMPARE(read->at(1).longitude, sites[1].longitude);
        for (const QByteArray& damaged :
             {QByteArray(), QByteArray("\x89PNG\r\n"), RecentSitesBytes(sites) + "1\t2\tx\n",
              RecentSitesBytes(sites).replace("-11.5", "-1l.5"),
              RecentSitesBytes(sites).replace("-11.5", "-111.5")})
            QVERIFY(!ParseRecentSites(damaged));
    }
};

QTEST_GUILESS_MAIN(TestPlaces)
#include "tst_places.moc"
