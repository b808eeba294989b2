// SPDX-License-Identifier: GPL-3.0-or-later
#include <QFile>
#include <QGenericMatrix>
#include <QRegularExpression>
#include <QTest>
#include <QtMath>

#include "compassnote.h"
#include "datafile.h"
#include "feedoffset.h"
#include "feedplace.h"
#include "startrun.h"

using namespace Qt::StringLiterals;

// The boxes Text1, Text2, Text3, Text4, Text5, Text6, Text9, Text10 and Text13.
static StartResult run(const QStringList& t, QChar separator = u'.') {
    return RunStart({t.value(0), t.value(1), t.value(2), t.value(3), t.value(4), t.value(5),
                     t.value(6), t.value(7), t.value(8)},
                    {}, separator);
}

// A declination as the tooltips get it, covered by the model on 7 December 2026.
static SiteDeclination covered(double degrees) {
    return {u"WMM-2025"_s, QDate(2026, 12, 7), true, degrees};
}

static const Site kJohannesburg{float(qDegreesToRadians(28.05)), qDegreesToRadians(-26.2)};

Q_DECLARE_METATYPE(SiteDeclination)

// The site, satellite 1 and satellite 2 from degrees-and-minutes texts, as the calculation holds
// them, and the second feed's placement there.
struct Pair {
    Site site;
    SatelliteLongitude satellite1, satellite2;
};
static Pair pair(const QStringList& t) {
    auto single = [&](int i) { return float(AngleFromTexts(t.value(i), t.value(i + 1))); };
    return {{single(0), AngleFromTexts(t.value(2), t.value(3))}, {single(4)}, {single(6)}};
}
static FeedPlacement placed(const QStringList& t) {
    const Pair p = pair(t);
    return PlaceSecondFeed(p.site, p.satellite1, p.satellite2).value_or(FeedPlacement{});
}

// A second route to the second feed's place and turns that shares none of the placement's
// formulas: the look angles of both satellites from the local east-north-up axes, the dish turned
// onto satellite 1 by rotation matrices, a bundle of parallel rays from satellite 2 reflected by a
// paraboloid around its vertex onto the focal plane, and the polarisation carried along the
// reflected ray. Returns the place per unit focal length (right, up) and the two turns.
using Matrix = QGenericMatrix<3, 3, double>;
using Column = QGenericMatrix<1, 3, double>;
static Column column(double x, double y, double z) {
    const double v[] = {x, y, z};
    return Column(v);
}
static Matrix rotation(int axis, double angle) {  // about x (0), y (1) or z (2)
    Matrix m;
    const int i = (axis + 1) % 3, j = (axis + 2) % 3;
    m(i, i) = m(j, j) = std::cos(angle);
    m(j, i) = std::sin(angle);
    m(i, j) = -std::sin(angle);
    return m;
}
static double lineAngle(const Column& p) {  // from "up" (y) towards "right" (x), in (-90, 90]
    const double a = std::remainder(qRadiansToDegrees(std::atan2(p(0, 0), p(1, 0))), 180.0);
    return a <= -90 ? a + 180 : a;
}
static QList<double> rayTraced(const Pair& pair) {
    const double lat = pair.site.latitude, lon = double(pair.site.longitude);
    const double a = 6378.137, f = 1 / 298.257223563, e2 = f * (2 - f);
    const double n = a / std::sqrt(1 - e2 * std::sin(lat) * std::sin(lat));
    const Column site = column(n * std::cos(lat) * std::cos(lon), n * std::cos(lat) * std::sin(lon),
                               n * (1 - e2) * std::sin(lat));
    // Earth-fixed to (up, east, north), then to (east, north, up).
    const double upLast[] = {0, 1, 0, 0, 0, 1, 1, 0, 0};
    const Matrix local = Matrix(upLast) * rotation(1, lat) * rotation(2, -lon);
    double azimuth[2], elevation[2];
    for (int i = 0; i < 2; ++i) {
        const double l = double((i ? pair.satellite2 : pair.satellite1).radians);
        const Column v = local * (column(42164.17 * std::cos(l), 42164.17 * std::sin(l), 0) - site);
        azimuth[i] = std::atan2(v(0, 0), v(1, 0));
        elevation[i] = std::atan2(v(2, 0), std::hypot(v(0, 0), v(1, 0)));
    }
    // Turned by satellite 1's azimuth and tilted by its elevation, (east, north, up) becomes the
    // dish's (right, forward, up); then (right, up, forward).
    const double forwardLast[] = {1, 0, 0, 0, 0, 1, 0, 1, 0};
    const Matrix toDish =
        Matrix(forwardLast) * rotation(0, -elevation[0]) * rotation(2, azimuth[0]);
    const Column d =
        toDish * column(std::sin(azimuth[1]) * std::cos(elevation[1]),
                        std::cos(azimuth[1]) * std::cos(elevation[1]), std::sin(elevation[1]));
    const double dx = d(0, 0), dy = d(1, 0), dz = d(2, 0), focal = 1;
    // Rays through (u, v, 0) along d onto z = (x² + y²) / 4F, reflected onto z = F.
    double sumX = 0, sumY = 0;
    int rays = 0;
    for (double u = -0.01; u < 0.011; u += 0.005)
        for (double v = -0.01; v < 0.011; v += 0.005) {
            const double qa = (dx * dx + dy * dy) / (4 * focal),
                         qb = (u * dx + v * dy) / (2 * focal) - dz,
                         qc = (u * u + v * v) / (4 * focal);
            const double s =
                qa == 0 ? -qc / qb : (-qb - std::sqrt(qb * qb - 4 * qa * qc)) / (2 * qa);
            const Column hit = column(u + s * dx, v + s * dy, s * dz);
            const Column normal = column(-hit(0, 0) / (2 * focal), -hit(1, 0) / (2 * focal), 1);
            const Column in = -d;
            const double k =
                (in.transposed() * normal)(0, 0) / (normal.transposed() * normal)(0, 0);
            const Column out = in - 2 * k * normal;
            const double t = (focal - hit(2, 0)) / out(2, 0);
            sumX += hit(0, 0) + t * out(0, 0);
            sumY += hit(1, 0) + t * out(1, 0);
            ++rays;
        }
    // The Earth's axis across each line of sight; the wave reflected at the vertex seen in the
    // second feed's view, the main feed's tilted onto the reflected ray by the least turn.
    const Column axis = toDish * local * column(0, 0, 1);
    auto across = [&](const Column& sight) {
        return axis - (axis.transposed() * sight)(0, 0) * sight;
    };
    const Column p2 = across(d), mirrored = column(-p2(0, 0), -p2(1, 0), p2(2, 0));
    const double tilt = std::acos(dz), toward = std::atan2(-dy, -dx);
    const Matrix feed2 = rotation(2, toward) * rotation(1, tilt) * rotation(2, -toward);
    return {sumX / rays, sumY / rays, lineAngle(across(column(0, 0, 1))),
            lineAngle(feed2.transposed() * mirrored)};
}

class TestCalcCore : public QObject {
    Q_OBJECT
private slots:
    // The README's check values, read from it: each site's texts in order, then rlin1.txt's line.
    void readmeTable_data() {
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<QStringList>("writes");
        QFile file(QStringLiteral(TORVEL_README));
        file.open(QIODevice::ReadOnly);  // a missing README leaves no sites and fails below
        QMap<QString, QStringList> rows;
        for (const QString& line : QString::fromUtf8(file.readAll())
                                       .section(u"\n## Check values"_s, 1)
                                       .section(u"\n## "_s, 0, 0)
                                       .split('\n')) {
            QStringList cells = line.split(u'|').mid(1, line.count(u'|') - 1);
            for (QString& cell : cells) cell = cell.trimmed().remove(u'`');
            if (line.startsWith(u'|')) rows.insert(cells.takeFirst(), cells);
        }
        const QStringList sites = rows.value(u"Input"_s);
        if (sites.size() != 5)
            QTest::newRow("README changed") << QStringList() << QStringList{"5 sites"};
        const char* const outputs[][2] = {
            {"Text8", "ALFA 1"},           {"Text16", "Feed rotation"},   {"Text12", "ALFA 2"},
            {"Text14", "Elevation shift"}, {"Text15", "Centre distance"}, {"Text7", "BETA 1"},
            {"Text11", "BETA 2"}};
        for (int column = 0; column < sites.size(); ++column) {
            auto cell = [&](const QString& row) { return rows.value(row).value(column); };
            // "19, 12 (Astra 19.2E)" is typed as "19" and "12"; "empty" is an empty box.
            QStringList boxes, writes;
            for (const char* angle :
                 {"Site longitude", "Site latitude", "Satellite 1", "Satellite 2"})
                boxes << cell(angle + u": degrees, minutes"_s)
                             .section(u" ("_s, 0, 0)
                             .replace(u"empty"_s, QString())
                             .split(u", "_s);
            for (const auto& output : outputs)
                writes << QLatin1String(output[0]) + u'=' + cell(QLatin1String(output[1]));
            QTest::newRow(qPrintable(sites[column]))
                << boxes + QStringList{cell(u"Focal length, mm"_s)}
                << writes + QStringList{cell(u"rlin1.txt"_s) + u"\r\n"_s};
        }
    }
    // Also with the comma as the regional separator, which the feed offsets' masks use.
    void readmeTable() {
        QFETCH(QStringList, boxes);
        QFETCH(QStringList, writes);
        for (QChar separator : {u'.', u','}) {
            const StartResult result = run(boxes, separator);
            QStringList shown;
            for (const BoxWrite& write : result.writes) shown << write.box + u'=' + write.text;
            if (result.end == RunEnd::Completed)
                shown << QString::fromLatin1(DataFileLine(result.alpha1, result.beta1));
            QCOMPARE(shown, writes);
        }
    }

    void formatMask_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("mask");
        QTest::addColumn<QString>("expected");
        QTest::newRow("'#' zero dropped, point kept") << 10.017 << u"##.#"_s << u"10."_s;
        QTest::newRow("no leading zero") << 0.44 << u"##.#"_s << u".4"_s;
        QTest::newRow("negative with zeros") << -0.0554666 << u"##0.00000"_s << u"-0.05547"_s;
        QTest::newRow("negative rounding to zero") << -0.0000034 << u"##0.00000"_s << u"0.00000"_s;
    }
    void formatMask() {
        QFETCH(double, value);
        QFETCH(QString, mask);
        QFETCH(QString, expected);
        QCOMPARE(FormatMask(value, mask, '.'), expected);
        QCOMPARE(FormatMask(value, mask, ','), expected.replace('.', ','));
    }

    // Satellite 2 seen from the worked example's site; the README's sites show the usual cases.
    void feedRotation_data() {
        QTest::addColumn<QString>("degrees");
        QTest::addColumn<QString>("minutes");
        QTest::addColumn<QString>("expected");
        QTest::newRow("east, more than half a turn") << u"220"_s << QString() << u" + 7"_s;
        QTest::newRow("at the site") << u"35"_s << u"27.69"_s << u" 0"_s;
        QTest::newRow("below 0.05, west of the site") << u"35"_s << u"27.6"_s << u" + 0"_s;
    }
    void feedRotation() {
        QFETCH(QString, degrees);
        QFETCH(QString, minutes);
        QFETCH(QString, expected);
        const StartResult r = run({"35", "27.69", "32", "48.5", "13", "", degrees, minutes, "450"});
        QCOMPARE(r.end, RunEnd::Completed);
        QCOMPARE(r.writes.value(1), (BoxWrite{u"Text16"_s, expected}));
    }

    // Minutes with their own sign; a feed offset's word on the difference rounded to 5 decimals,
    // its text cut; the azimuth turned only south of the equator, where 360 is 0.
    void steps() {
        QCOMPARE(AngleFromTexts(u"-10"_s, u"30"_s), AngleFromTexts(u"-9.5"_s, {}));
        QCOMPARE(FeedOffsetText(-0.0002, 450, u"ВЫШЕ"_s, u"НИЖЕ"_s, '.'), u" 0мм-->ВЫШЕ"_s);
        QCOMPARE(FeedOffsetText(90, 1234.56789, u"ВЫШЕ"_s, u"НИЖЕ"_s, '.'), u" 1234.56мм-->ВЫШЕ"_s);
        for (double latitude : {0.0, 0.5}) {
            QCOMPARE(ShownAzimuth(Site{0, latitude}, 200.0), 200.0);
            QCOMPARE(ShownAzimuth(Site{0, latitude}, 200.0f), 200.0f);
        }
        QCOMPARE(ShownAzimuth(Site{0, -0.5}, std::nextafter(180.0, 0.0)), 0.0);
        QCOMPARE(ShownAzimuth(Site{0, -0.5}, std::nextafter(180.0f, 0.0f)), 0.0f);
    }
    // Both shown azimuths of southern sites against the spherical geometry: atan2(sin d,
    // -sin(latitude) cos d), d the satellite's longitude less the site's.
    void southernAzimuth_data() {
        for (const char* column : {"longitude", "latitude", "satellite"})
            QTest::addColumn<double>(column);
        QTest::newRow("Sydney, satellite west") << 151.2 << -33.87 << 140.0;
        QTest::newRow("Sydney, satellite east") << 151.2 << -33.87 << 156.0;
        QTest::newRow("Sao Paulo") << -46.63 << -23.55 << -61.0;
        QTest::newRow("Wellington, over the date line") << 174.77 << -41.28 << -178.0;
    }
    void southernAzimuth() {
        QFETCH(double, longitude);
        QFETCH(double, latitude);
        QFETCH(double, satellite);
        const QString sat = QString::number(satellite);
        const StartResult result = run({QString::number(longitude), "", QString::number(latitude),
                                        "", sat, "", sat, "", "600"});
        const double d = qDegreesToRadians(satellite - longitude);
        const double exact = qRadiansToDegrees(
            std::atan2(std::sin(d), -std::sin(qDegreesToRadians(latitude)) * std::cos(d)));
        for (double shown : {result.alpha1, double(result.alpha2.value_or(qQNaN()))})
            QVERIFY2(
                std::abs(std::remainder(shown - exact, 360.0)) < 0.01 && shown >= 0 && shown < 360,
                qPrintable(QString::number(shown)));
    }

    // The second feed's exact place and turns for the README's check sites.
    void feedPlacement_data() {
        QTest::addColumn<QStringList>("texts");  // site, satellite 1, satellite 2
        QTest::addColumn<double>("focal");
        // Satellite 2 right, up, apart; the second feed right, up (mm), between the centres; the
        // main and second feeds' turns (+ clockwise).
        QTest::addColumn<QList<double>>("expected");
        QTest::newRow("worked example")
            << QStringList{"35", "27.69", "32", "48.5", "13", "", "19", "12"} << 450.0
            << QList<double>{-6.055, 3.538, 6.999, 47.7, -27.8, 55.2, 30.8, 30.2};
        QTest::newRow("Paris") << QStringList{"2", "21", "48", "51", "19", "12", "13", ""} << 600.0
                               << QList<double>{6.614, 1.622, 6.806, -69.6,
                                                -17.0, 71.6,  -14.3, -13.5};
        QTest::newRow("Dubai") << QStringList{"55", "18", "25", "16", "26", "", "30", "30"} << 500.0
                               << QList<double>{-3.554, 3.647, 5.085, 31.1,
                                                -31.9,  44.5,  46.2,  45.9};
        QTest::newRow("New York") << QStringList{"-74", "0", "40", "43", "-101", "", "-97", ""}
                                  << 800.0 << QList<double>{-3.929, 2.042, 4.425, 54.9,
                                                            -28.5,  61.9,  28.0,  27.5};
        QTest::newRow("Johannesburg")
            << QStringList{"28", "3", "-26", "-12", "20", "", "36", ""} << 600.0
            << QList<double>{17.841, 5.009, 18.448, -193.1, -52.6, 200.1, -16.0, -14.5};
    }
    void feedPlacement() {
        QFETCH(QStringList, texts);
        QFETCH(double, focal);
        QFETCH(QList<double>, expected);
        const FeedPlacement p = placed(texts);
        const double right = *p.placeRight * focal, up = *p.placeUp * focal;
        const QList<double> got{
            p.right,    p.up,          p.separation, right, up, std::hypot(right, up),
            p.mainTurn, p.secondTurn()};
        const double tolerance[] = {0.01, 0.01, 0.01, 0.2, 0.2, 0.2, 0.3, 0.3};
        for (int i = 0; i < got.size(); ++i)
            QVERIFY2(std::abs(got[i] - expected[i]) <= tolerance[i],
                     qPrintable(QString::number(i) + u": "_s + QString::number(got[i])));

        // The ray trace, closer: the place to 0.05 mm (F · (tan - sin) is 0.25 mm in the worked
        // example, 9 mm at Johannesburg), the turns to 0.02 degree.
        const QList<double> traced = rayTraced(pair(texts));
        QVERIFY2(
            std::abs(traced[0] * focal - right) < 0.05 && std::abs(traced[1] * focal - up) < 0.05,
            qPrintable(QString::number(traced[0] * focal) + u", "_s +
                       QString::number(traced[1] * focal)));
        QVERIFY2(
            std::abs(traced[2] - p.mainTurn) < 0.02 && std::abs(traced[3] - p.secondTurn()) < 0.02,
            qPrintable(QString::number(traced[2]) + u", "_s + QString::number(traced[3])));
    }
    // Satellites either side of the site's meridian, one degree from it or farther, seen from
    // the north and the south: satellite 1 on the meridian needs no turn; swapped sides mirror
    // the view, the place and the turns.
    void feedPlacementMirrored() {
        for (const char* latitude : {"50", "-33.9"}) {
            QVERIFY(std::abs(placed({"18", "", latitude, "", "18", "", "30", ""}).mainTurn) < 1e-6);
            for (double offset : {1.0, 12.0}) {
                const QString west = QString::number(18 - offset),
                              east = QString::number(18 + offset);
                const FeedPlacement a = placed({"18", "", latitude, "", west, "", east, ""});
                const FeedPlacement b = placed({"18", "", latitude, "", east, "", west, ""});
                QVERIFY(std::abs(a.right + b.right) < 1e-5 && std::abs(a.up - b.up) < 1e-5);
                QVERIFY(std::abs(*a.placeRight + *b.placeRight) < 1e-7 &&
                        std::abs(*a.placeUp - *b.placeUp) < 1e-7);
                QVERIFY(std::abs(a.mainTurn + b.mainTurn) < 1e-5 &&
                        std::abs(a.turnDifference + b.turnDifference) < 1e-5);
            }
        }
    }
    // The tooltips where there is no place to give: a satellite below the horizon, one behind the
    // dish; a box's own figure is explained whatever the case.
    void feedToolTips_data() {
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<QString>("place");  // in Text14's and Text15's tooltips
        QTest::addColumn<QString>("turn");   // in Text16's
        QTest::newRow("satellite 2 below the horizon")
            << QStringList{"35", "27.69", "32", "48.5", "13", "", "-120", "", "450"}
            << u"Спутник 2 здесь ниже горизонта (угол места -54.8°):\nпринять его отсюда нельзя.\nМеста второго облучателя нет.\n"_s
            << u"нельзя.\nПоворот облучателей не показан.\n"_s;
        QTest::newRow("satellite 2 behind the dish")
            << QStringList{"0", "", "1", "", "-75", "", "75", "", "450"}
            << u"Спутник 2 в 167.3° от спутника 1, за краем антенны:\nвторой облучатель его не примет.\nВ поле"_s
            << u"основной — 89.0° по часовой стрелке;\nСпутник 2 в 167.3°"_s;
    }
    void feedToolTips() {
        QFETCH(QStringList, boxes);
        QFETCH(QString, place);
        QFETCH(QString, turn);
        const StartResult r = run(boxes);
        const QString tip14 = r.feedToolTips.value(u"Text14"_s);
        QVERIFY2(tip14.contains(place) && tip14.contains(u"F · sin|BETA1 − BETA2|"_s),
                 qPrintable(tip14));
        QVERIFY2(r.feedToolTips.value(u"Text15"_s).contains(place),
                 qPrintable(r.feedToolTips.value(u"Text15"_s)));
        QVERIFY2(r.feedToolTips.value(u"Text16"_s).contains(turn),
                 qPrintable(r.feedToolTips.value(u"Text16"_s)));
    }

    // The ALFA boxes' tooltips: the magnetic azimuth with the declination's side, or why none.
    void azimuthToolTip_data() {
        QTest::addColumn<double>("azimuth");
        QTest::addColumn<SiteDeclination>("declination");
        QTest::addColumn<QString>("magnetic");  // the figure shown; empty for none
        QTest::addColumn<QString>("line");      // the declination's line, or the reason
        QTest::newRow("east") << 217.344291652777 << covered(5.24) << u"212.1"_s
                              << u"Магнитное склонение: 5.2° восточное\n"_s;
        QTest::newRow("Johannesburg, past north")
            << 342.237790692367 << DeclinationAt(kJohannesburg, QDate(2026, 12, 7)) << u"3.1"_s
            << u"Магнитное склонение: 20.9° западное\n"_s;
        QTest::newRow("past north, east") << 3.0 << covered(10.0) << u"353.0"_s << u"восточное"_s;
        QTest::newRow("rounds to 360")
            << 10.0 << covered(10.04) << u"0.0"_s << u"(модель WMM-2025, дата 07.12.2026)"_s;
        QTest::newRow("date not covered")
            << 217.3 << DeclinationAt(kJohannesburg, QDate(2030, 1, 1)) << QString()
            << u"Модель WMM-2025 не рассчитана на дату 01.01.2030"_s;
        QTest::newRow("no declination at the site")
            << 217.3 << SiteDeclination{u"WMM-2025"_s, QDate(2026, 12, 7), true, {}} << QString()
            << u"Магнитное склонение здесь не определено"_s;
        QTest::newRow("no model") << 217.3 << DeclinationAt(std::nullopt, -26.2, 28.05, {})
                                  << QString() << u"Модель магнитного поля не встроена"_s;
    }
    void azimuthToolTip() {
        QFETCH(double, azimuth);
        QFETCH(SiteDeclination, declination);
        QFETCH(QString, magnetic);
        QFETCH(QString, line);
        const QString tip = AzimuthToolTip(azimuth, declination);
        QVERIFY2(tip.contains(line), qPrintable(tip));
        if (magnetic.isEmpty())
            QVERIFY2(!tip.contains(QRegularExpression(u"\\d\\.\\d°"_s)), qPrintable(tip));
        else
            QVERIFY2(tip.startsWith(u"Азимут по компасу (магнитный): "_s + magnetic + u"°\n"_s),
                     qPrintable(tip));
    }

    // The rotation box's note: what to type for magnetic north, and for the thin compass laid on
    // the needle; nothing to type where the declination shows as 0.0.
    void rotationNote() {
        const QString east = RotationNote(covered(5.24)), none = RotationNote(covered(0.04));
        QVERIFY2(east.contains(u"Введите 5.2 — "_s) && east.contains(u"введите -5.2:"_s),
                 qPrintable(east));
        QVERIFY2(none.contains(u"расчёта: 0.0°\n"_s) && !none.contains(u"Введите"_s),
                 qPrintable(none));
    }
};

QTEST_GUILESS_MAIN(TestCalcCore)
#include "tst_calccore.moc"
