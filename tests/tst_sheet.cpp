// SPDX-License-Identifier: GPL-3.0-or-later
// The installation sheet: its sun outage days against an independent ephemeris, its obstacle
// heights, its file name, and the page itself read back as text and as a picture.
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>
#include <cmath>

#include "lookangle.h"
#include "sheet.h"
#include "startrun.h"

Q_DECLARE_METATYPE(StartInputs)

#ifdef TORVEL_HAVE_ERFA
#include <erfa.h>
#include <erfam.h>
#endif

namespace {

constexpr double kPi = 3.14159265358979323846;

Site siteAt(double latitude, double longitude) {
    return Site{float(longitude * kPi / 180), latitude * kPi / 180};
}

SatelliteLongitude orbit(double degrees) {
    return SatelliteLongitude{float(degrees * kPi / 180)};
}

QDateTime utc(const QString& text) {
    QDateTime t = QDateTime::fromString(text, Qt::ISODate);
    t.setTimeSpec(Qt::UTC);
    return t;
}

const QDateTime kFrom = utc(QStringLiteral("2026-12-07T00:00:00"));

#ifdef TORVEL_HAVE_ERFA
// The sun behind a satellite by ERFA, sharing no code with the program: eraEpv00, aberration,
// IAU 2006/2000A rotation, the site on WGS 84; UT1 = UTC, TT = UTC + 69.184 s.
struct ErfaSky {
    double siteKm[3];
    double satelliteKm[3];

    ErfaSky(double latitude, double longitude, double satellite) {
        double xyz[3];
        eraGd2gc(1, longitude * kPi / 180, latitude * kPi / 180, 0, xyz);
        for (int i = 0; i < 3; ++i) siteKm[i] = xyz[i] / 1000;
        const double l = satellite * kPi / 180;
        eraS2p(l, 0, 42164.17, satelliteKm);
    }

    mutable double m_day = 0;
    mutable double m_rc2i[3][3];

    // The angle between the sun and the satellite seen from the site, degrees.
    double separation(double jdUtc) const {
        const double tt = jdUtc + 69.184 / ERFA_DAYSEC;
        double pvh[2][3], pvb[2][3];
        eraEpv00(ERFA_DJ00, tt - ERFA_DJ00, pvh, pvb);
        double toSun[3], v[3], v2 = 0, distance = 0;
        for (int i = 0; i < 3; ++i) {
            toSun[i] = -pvh[0][i];
            distance += toSun[i] * toSun[i];
            v[i] = pvb[1][i] * ERFA_AULT / ERFA_DAYSEC;
            v2 += v[i] * v[i];
        }
        distance = std::sqrt(distance);
        for (double& c : toSun) c /= distance;
        double apparent[3], rc2t[3][3], sun[3];
        eraAb(toSun, v, distance, std::sqrt(1 - v2), apparent);
        const double day = std::floor(tt);
        if (day != m_day) {
            eraC2i06a(day, 0, m_rc2i);
            m_day = day;
        }
        double rpom[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
        eraC2tcio(m_rc2i, eraEra00(ERFA_DJ00, jdUtc - ERFA_DJ00), rpom, rc2t);
        eraRxp(rc2t, apparent, sun);
        double a[3], b[3];
        for (int i = 0; i < 3; ++i) {
            a[i] = sun[i] * distance * ERFA_DAU / 1000 - siteKm[i];
            b[i] = satelliteKm[i] - siteKm[i];
        }
        return eraSepp(a, b) * 180 / kPi;
    }
};

// Every outage day for a year from kFrom by ERFA: the sun sampled every two minutes on the days
// its declination comes near the satellite's, each window's edges halved to half a second.
QList<QList<QDateTime>> ErfaOutages(double latitude, double longitude, double satellite) {
    const ErfaSky sky(latitude, longitude, satellite);
    const double angle = OutageAngle(60, 11.7);
    auto edge = [&](double in, double out) {  // in the window at in, outside at out
        while (std::fabs(in - out) > 0.5 / ERFA_DAYSEC) {
            const double m = (in + out) / 2;
            (sky.separation(m) < angle ? in : out) = m;
        }
        return in;
    };
    double los[3];
    for (int i = 0; i < 3; ++i) los[i] = sky.satelliteKm[i] - sky.siteKm[i];
    const double satelliteDeclination = std::asin(los[2] / eraPm(los)) * 180 / kPi;
    QList<QList<QDateTime>> periods;
    const double start = 2440587.5 + double(kFrom.toMSecsSinceEpoch()) / 86400000.0;
    double lastDay = -100;
    for (int day = 0; day < 365; ++day) {
        double pvh[2][3], pvb[2][3];
        eraEpv00(ERFA_DJ00, start + day + 0.5 - ERFA_DJ00, pvh, pvb);
        const double sunDeclination = std::asin(-pvh[0][2] / eraPm(pvh[0])) * 180 / kPi;
        if (std::fabs(sunDeclination - satelliteDeclination) > angle + 1) continue;
        const double step = 2.0 / 1440;
        bool before = sky.separation(start + day - step) < angle;
        for (double t = start + day; t < start + day + 1; t += step) {
            const bool inside = sky.separation(t) < angle;
            const bool entered = inside && !before;
            before = inside;
            if (!entered) continue;
            double endOut = t;
            while (sky.separation(endOut) < angle) endOut += step;
            const double centre = (edge(t, t - step) + edge(t, endOut)) / 2;
            if (centre - lastDay > 30) periods.append(QList<QDateTime>());
            lastDay = centre;
            periods.last().append(QDateTime::fromMSecsSinceEpoch(
                qint64(std::llround((centre - 2440587.5) * 86400000.0)), Qt::UTC));
            t = endOut;
            before = false;
        }
    }
    return periods;
}
#endif

}  // namespace

class TestSheet : public QObject {
    Q_OBJECT
private slots:
    void lookAngles_data();
    void lookAngles();
    void outageAngle_data();
    void outageAngle();
    void sunOutage_data();
    void sunOutage();
    void page_data();
    void page();
    void fileName_data();
    void fileName();
};

void TestSheet::lookAngles_data() {
    QTest::addColumn<double>("latitude");
    QTest::addColumn<double>("longitude");
    QTest::addColumn<double>("satellite");
    QTest::addColumn<double>("alfa");  // the README's ALFA 1, the program's own method
    QTest::newRow("worked example") << 32.80833333 << 35.4615 << 13.0 << 217.344291652777;
    QTest::newRow("New York") << 40.71666667 << -74.0 << -101.0 << 217.993353731746;
    QTest::newRow("Johannesburg") << -26.2 << 28.05 << 20.0 << 342.237790692367;
}

// The sheet's look angles are the feed placement's exact geometry, near the program's own
// azimuth; where ERFA is installed its WGS 84 site gives the same angles, and the obstacle
// heights are d * tan of that elevation.
void TestSheet::lookAngles() {
    QFETCH(double, latitude);
    QFETCH(double, longitude);
    QFETCH(double, satellite);
    QFETCH(double, alfa);
    const Site site = siteAt(latitude, longitude);
    const ExactLook look = LookAt(site, orbit(satellite));
    QCOMPARE(look.elevation, PlaceSecondFeed(site, orbit(satellite), orbit(0))->elevation1);
    QVERIFY2(std::fabs(look.azimuth - alfa) < 0.05, qPrintable(QString::number(look.azimuth)));
    QCOMPARE(look.skew, PlaceSecondFeed(site, orbit(satellite), orbit(satellite))->mainTurn);
#ifdef TORVEL_HAVE_ERFA
    ErfaSky sky(latitude, double(site.longitude) * 180 / kPi, satellite);
    double los[3], east[3], north[3], normal[3], z[3] = {0, 0, 1}, modulus;
    eraS2c(double(site.longitude), latitude * kPi / 180, normal);
    eraPmp(sky.satelliteKm, sky.siteKm, los);
    eraPxp(z, normal, east);
    eraPn(east, &modulus, east);
    eraPxp(normal, east, north);
    const double elevation = 90 - eraSepp(los, normal) * 180 / kPi;
    const double azimuth = std::atan2(eraPdp(los, east), eraPdp(los, north)) * 180 / kPi;
    QVERIFY(std::fabs(look.elevation - elevation) < 1e-4);
    QVERIFY(std::fabs(std::remainder(look.azimuth - azimuth, 360.0)) < 1e-4);
    for (double d : kObstacleDistances)
        QVERIFY(std::fabs(ObstacleHeight(d, look.elevation) - d * std::tan(elevation * kPi / 180)) <
                0.05);
#endif
}

void TestSheet::outageAngle_data() {
    QTest::addColumn<double>("diameter");
    QTest::addColumn<double>("frequency");
    QTest::addColumn<double>("angle");
    // 35 * (c / f) / D + 0.25, worked by hand.
    QTest::newRow("60 cm, 11.7 GHz") << 60.0 << 11.7 << 1.74467;
    QTest::newRow("120 cm, 11.7 GHz") << 120.0 << 11.7 << 0.99734;
    QTest::newRow("45 cm, 12.5 GHz") << 45.0 << 12.5 << 2.11540;
}

void TestSheet::outageAngle() {
    QFETCH(double, diameter);
    QFETCH(double, frequency);
    QFETCH(double, angle);
    QVERIFY2(std::fabs(OutageAngle(diameter, frequency) - angle) < 1e-4,
             qPrintable(QString::number(OutageAngle(diameter, frequency), 'f', 6)));
}

void TestSheet::sunOutage_data() {
    QTest::addColumn<double>("latitude");
    QTest::addColumn<double>("longitude");
    QTest::addColumn<double>("satellite");
    QTest::addColumn<int>("period");
    QTest::addColumn<QDateTime>("first");  // the centres on the first and last day of a run
    QTest::addColumn<QDateTime>("last");
    // From ERFA, for a 60 cm dish at 11.7 GHz, a year from 7 December 2026 (UTC).
    auto site = [](const char* name, double latitude, double longitude, double satellite,
                   const char* centres) {
        const QStringList c = QString::fromLatin1(centres).split(u' ');
        for (int period : {0, 1})
            QTest::addRow("%s, %s", name, period ? "autumn" : "spring")
                << latitude << longitude << satellite << period << utc(c[2 * period])
                << utc(c[2 * period + 1]);
    };
    site("Tiberias 13E", 32.8083, 35.4615, 13.0,
         "2027-03-03T11:32:34 2027-03-11T11:30:39 2027-10-02T11:10:02 2027-10-10T11:07:40");
    site("Johannesburg 20E", -26.2, 28.05, 20.0,
         "2027-03-28T10:50:10 2027-04-05T10:47:47 2027-09-07T10:43:09 2027-09-15T10:40:20");
    site("New York 101W", 40.7167, -74.0, -101.0,
         "2027-02-28T19:09:46 2027-03-08T19:08:01 2027-10-05T18:45:41 2027-10-13T18:43:30");
    site("Sydney 156E", -33.87, 151.21, 156.0,
         "2027-03-31T01:37:36 2027-04-08T01:35:16 2027-09-05T01:32:10 2027-09-13T01:29:24");
    site("Novosibirsk 36E", 55.03, 82.92, 36.0,
         "2027-02-25T10:04:30 2027-03-05T10:02:57 2027-10-08T09:39:04 2027-10-16T09:37:03");
}

// The program's runs within a day of the table, each centre within 2 minutes on the days both
// give; where ERFA is installed, the table recomputed from there to the day and 2 s.
void TestSheet::sunOutage() {
    QFETCH(double, latitude);
    QFETCH(double, longitude);
    QFETCH(double, satellite);
    QFETCH(int, period);
    QFETCH(QDateTime, first);
    QFETCH(QDateTime, last);
    const double angle = OutageAngle(60, 11.7);
    const auto periods =
        OutagePeriods(SunOutages(siteAt(latitude, longitude), orbit(satellite), kFrom, angle));
    QCOMPARE(periods.size(), 2);
    const auto& days = periods[period];
    QVERIFY2(std::abs(days.first().centre().date().daysTo(first.date())) <= 1,
             qPrintable(days.first().centre().toString(Qt::ISODate)));
    QVERIFY2(std::abs(days.last().centre().date().daysTo(last.date())) <= 1,
             qPrintable(days.last().centre().toString(Qt::ISODate)));
    for (const OutageWindow& w : days) {
        QVERIFY(w.closest < angle && w.start.secsTo(w.end) > 0);
        for (const QDateTime& centre : {first, last})
            if (w.centre().date() == centre.date())
                QVERIFY2(std::abs(w.centre().secsTo(centre)) <= 120,
                         qPrintable(w.centre().toString(Qt::ISODate)));
    }
#ifdef TORVEL_HAVE_ERFA
    static QMap<QString, QList<QList<QDateTime>>> computed;
    const QString key = QStringLiteral("%1 %2 %3").arg(latitude).arg(longitude).arg(satellite);
    if (!computed.contains(key)) computed.insert(key, ErfaOutages(latitude, longitude, satellite));
    const auto& reference = computed[key];
    QCOMPARE(reference.size(), 2);
    QCOMPARE(reference[period].first().date(), first.date());
    QCOMPARE(reference[period].last().date(), last.date());
    QVERIFY(std::abs(reference[period].first().secsTo(first)) <= 2);
    QVERIFY(std::abs(reference[period].last().secsTo(last)) <= 2);
#endif
}

void TestSheet::page_data() {
    QTest::addColumn<StartInputs>("inputs");
    QTest::addColumn<QString>("apart");  // the README's distance between the centres
    QTest::addColumn<int>("scale");
    QTest::addColumn<bool>("tooFar");
    QTest::addColumn<QByteArray>("zone");  // the computer's, as the page names it
    QTest::addColumn<QString>("offset");
    QTest::newRow("worked example")
        << StartInputs{"35", "27.69", "32", "48.5", "13", "", "19", "12", "450"}
        << QStringLiteral("55.2") << 1 << false << QByteArray("Asia/Jerusalem")
        << QStringLiteral("+02:00");
    // A long zone name still ends on the page.
    QTest::newRow("Johannesburg") << StartInputs{"28", "3", "-26", "-12", "20", "", "36", "", "600"}
                                  << QStringLiteral("200.1") << 2 << true
                                  << QByteArray("America/Argentina/Buenos_Aires")
                                  << QStringLiteral("-03:00");
}

// The page read back with poppler's tools: every figure as text, and the feed drawing's two
// centres (the only pure red and pure blue in the drawing) at the placement's distance.
void TestSheet::page() {
    QFETCH(StartInputs, inputs);
    QFETCH(QString, apart);
    QFETCH(int, scale);
    QFETCH(bool, tooFar);
    QFETCH(QByteArray, zone);
    QFETCH(QString, offset);
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
    if (pdftotext.isEmpty() || pdftoppm.isEmpty()) QSKIP("poppler-utils is not installed");

    const StartResult run = RunStart(inputs, CarriedValues{}, QLatin1Char('.'));
    std::optional<SheetInput> sheet = SheetInputOf(inputs, run);
    QVERIFY(sheet);
    sheet->version = QStringLiteral("1.1.0");
    sheet->calculated = QDateTime(QDate(2026, 12, 7), QTime(16, 40), QTimeZone(zone));
    const SheetFigures figures = ComputeSheet(*sheet);
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("sheet.pdf"));
    QFile file(pdf);
    QVERIFY(file.open(QIODevice::WriteOnly) &&
            file.write(SheetPdf(*sheet, figures, QFont(QStringLiteral("Liberation Sans")))) > 0);
    file.close();
    QProcess tool;
    tool.start(pdftotext, {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    QVERIFY(tool.waitForFinished(30000));
    const QString text = QString::fromUtf8(tool.readAllStandardOutput()).simplified();

    auto tenths = [](double v) { return QString::number(v, 'f', 1); };
    const QString zoneText = QString::fromLatin1(zone) + QStringLiteral(" UTC") + offset;
    QStringList expected = QStringLiteral(
                               "RASCHET 1.1.0|07.12.2026 16:40|WMM-2025|"
                               "азимутально-угломестной")
                               .split(u'|');
    expected << zoneText << QStringLiteral("Время: UTC и компьютера (%1).").arg(zoneText);
    expected << apart + QStringLiteral(" мм") << QStringLiteral("масштаб 1:%1").arg(scale);
    // Each box's text beside its caption, as the window shows it.
    const std::pair<const char*, const char*> boxes[] = {
        {"Text7", "1) BETA-угол места:"},     {"Text8", "1) ALFA-азимут:"},
        {"Text11", "2) BETA-угол места:"},    {"Text12", "2) ALFA-азимут:"},
        {"Text14", "СДВИГ УГЛА ВОЗВЫШЕНИЯ:"}, {"Text15", "РАССТОЯНИЕ МЕЖДУ ЦЕНТРАМИ:"},
        {"Text16", "УГОЛ ПОВОРОТА:"}};
    for (const auto& [box, caption] : boxes)
        expected << QString::fromUtf8(caption) + QLatin1Char(' ') +
                        sheet->boxes.value(QLatin1String(box)).simplified();
    QCOMPARE(sheet->boxes.size(), 7);
    expected << QStringLiteral("%1° %2").arg(tenths(std::fabs(*figures.declination.degrees)),
                                             *figures.declination.degrees > 0
                                                 ? QStringLiteral("восточное")
                                                 : QStringLiteral("западное"));
    for (const SheetSatelliteFigures& s : figures.satellites) {
        expected << tenths(s.look.azimuth) + QStringLiteral("°")
                 << tenths(*s.magneticAzimuth) + QStringLiteral("°")
                 << tenths(s.look.elevation) + QStringLiteral("°")
                 << tenths(std::fabs(*s.look.skew)) + QStringLiteral("°");
        for (double d : kObstacleDistances)
            expected << QStringLiteral("%1 м — %2 м")
                            .arg(d)
                            .arg(tenths(d * std::tan(s.look.elevation * kPi / 180)));
        for (const OutageWindow& w : s.outages)
            expected << w.centre().toString(QStringLiteral("dd.MM ")) +
                            w.start.addSecs(30).toString(QStringLiteral("HH:mm–")) +
                            w.end.addSecs(30).toString(QStringLiteral("HH:mm"));
        QVERIFY(s.outages.size() >= 10);
    }
    for (const QString& e : expected)
        QVERIFY2(text.contains(e), qPrintable(e + QStringLiteral(" not in: ") + text));
    QCOMPARE(text.contains(QStringLiteral("дальше 10°")), tooFar);
    QVERIFY(!text.contains(QStringLiteral("ближе 40 мм")));

    // 10 pixels a millimetre.
    tool.start(pdftoppm,
               {QStringLiteral("-r"), QStringLiteral("254"), QStringLiteral("-png"),
                QStringLiteral("-singlefile"), pdf, dir.filePath(QStringLiteral("page"))});
    QVERIFY(tool.waitForFinished(60000));
    const QImage page(dir.filePath(QStringLiteral("page.png")));
    QCOMPARE(page.width(), 2100);
    const QRect area(FeedDrawingArea().topLeft().toPoint() * 10,
                     FeedDrawingArea().size().toSize() * 10);
    auto centroid = [&](auto isColour) {
        QPointF sum;
        int n = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                if (isColour(page.pixelColor(x, y))) {
                    sum += QPointF(x, y);
                    ++n;
                }
        return n > 0 ? sum / n / 10 : QPointF(-1000, -1000);
    };
    const QPointF main =
        centroid([](QColor c) { return c.red() > 200 && c.green() < 90 && c.blue() < 90; });
    const QPointF second =
        centroid([](QColor c) { return c.blue() > 200 && c.red() < 90 && c.green() < 90; });
    const QPointF between = second - main;
    const double onDish = std::hypot(between.x(), between.y()) * scale;
    QVERIFY2(std::fabs(onDish - apart.toDouble()) <= 0.5 * scale,
             qPrintable(QString::number(onDish)));
    // Right and down from the main feed, as the README's table has it for both.
    QCOMPARE(between.x() > 0, *figures.placement->placeRight > 0);
    QVERIFY(between.y() > 0);
}

void TestSheet::fileName_data() {
    QTest::addColumn<QString>("town");
    QTest::addColumn<double>("latitude");
    QTest::addColumn<double>("longitude");
    QTest::addColumn<double>("satellite1");
    QTest::addColumn<double>("satellite2");
    QTest::addColumn<QString>("name");
    QTest::newRow("town") << QStringLiteral("Новосибирск") << 55.03 << 82.92 << 36.1 << 13.0
                          << QStringLiteral("RASCHET 2026-12-07 Новосибирск 36.1E 13E.pdf");
    QTest::newRow("coordinates, west and south")
        << QString() << -26.2 << -58.38 << -61.0 << -55.5
        << QStringLiteral("RASCHET 2026-12-07 26.20S 58.38W 61W 55.5W.pdf");
    QTest::newRow("town with a slash and a colon")
        << QStringLiteral("Ростов/Дон: центр") << 47.2 << 39.7 << 395.0 << 4.8
        << QStringLiteral("RASCHET 2026-12-07 РостовДон центр 35E 4.8E.pdf");
}

void TestSheet::fileName() {
    QFETCH(QString, town);
    QFETCH(double, latitude);
    QFETCH(double, longitude);
    QFETCH(double, satellite1);
    QFETCH(double, satellite2);
    QFETCH(QString, name);
    SheetInput input;
    input.calculated = QDateTime(QDate(2026, 12, 7), QTime(23, 30));
    input.site = siteAt(latitude, longitude);
    input.satellites[0].longitude = orbit(satellite1);
    input.satellites[1].longitude = orbit(satellite2);
    if (!town.isEmpty()) input.town = SheetTown{town, QString(), QString()};
    QCOMPARE(SheetFileName(input), name);
}

QTEST_MAIN(TestSheet)
#include "tst_sheet.moc"
