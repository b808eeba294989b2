#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QtMath>

#include "canvas.h"
#include "datafile.h"
#include "directionplot.h"
#include "feedoffset.h"
#include "numbertext.h"
#include "startrun.h"

using namespace Qt::StringLiterals;

namespace {

// The boxes Text1, Text2, Text3, Text4, Text5, Text6, Text9, Text10, Text13, joined by '|'.
StartResult run(const QString& boxes, QChar separator = u'.') {
    const QStringList t = boxes.split(u'|');
    return RunStart({t.value(0), t.value(1), t.value(2), t.value(3), t.value(4), t.value(5),
                     t.value(6), t.value(7), t.value(8)},
                    {}, separator);
}

// Each write as "box=text", in order, then the data file's line; empty unless completed.
QStringList shown(const StartResult& run) {
    QStringList lines;
    for (const BoxWrite& write : run.writes) lines << write.box + u'=' + write.text;
    if (run.end != RunEnd::Completed) return {};
    return lines << QString::fromLatin1(DataFileLine(run.alpha1, run.beta1));
}

// The azimuth of a geostationary satellite from a site, in degrees from north through east,
// 0 <= a < 360, from Earth-centred vectors: the site on a sphere of radius 1, the satellite in
// the equator's plane at 6.6107 radii. The direction depends on the longitudes and the latitude
// only, not on the radius ratio.
double exactAzimuth(double siteLongitude, double siteLatitude, double satelliteLongitude) {
    const double lambda = qDegreesToRadians(siteLongitude);
    const double phi = qDegreesToRadians(siteLatitude);
    const double sat = qDegreesToRadians(satelliteLongitude);
    const double site[3] = {std::cos(phi) * std::cos(lambda), std::cos(phi) * std::sin(lambda),
                            std::sin(phi)};
    const double toSatellite[3] = {6.6107 * std::cos(sat) - site[0],
                                   6.6107 * std::sin(sat) - site[1], -site[2]};
    const double east[3] = {-std::sin(lambda), std::cos(lambda), 0};
    const double north[3] = {-std::sin(phi) * std::cos(lambda), -std::sin(phi) * std::sin(lambda),
                             std::cos(phi)};
    auto dot = [&](const double* v) {
        return v[0] * toSatellite[0] + v[1] * toSatellite[1] + v[2] * toSatellite[2];
    };
    const double a = qRadiansToDegrees(std::atan2(dot(east), dot(north)));
    return a < 0 ? a + 360 : a;
}

// How far apart two directions are, in degrees, 0 to 180.
double apart(double a, double b) {
    const double d = std::fmod(std::fabs(a - b), 360.0);
    return std::min(d, 360 - d);
}

// The angle at the plot centre between two points, in degrees.
double plotAngle(QPoint a, QPoint b) {
    const QPoint u = a - kPlotCentre, v = b - kPlotCentre;
    return qRadiansToDegrees(std::acos(QPoint::dotProduct(u, v) /
                                       (std::hypot(u.x(), u.y()) * std::hypot(v.x(), v.y()))));
}

}  // namespace

class TestCalcCore : public QObject {
    Q_OBJECT
private slots:
    void workedExample() {
        for (QChar separator : {u'.', u','})
            QCOMPARE(shown(run(u"35|27.69|32|48.5|13||19|12|450"_s, separator)),
                     QStringList({"Text8= 217.344291652777", "Text16= + 23.5", "Text12= 208.2955",
                                  "Text14= 24.9487мм-->НИЖЕ", "Text15= 70.7734мм-->СПРАВА",
                                  "Text7= 44.8168471212995", "Text11= 47.99485",
                                  "217.344291652777,44.8168471212995\r\n"}));
    }

    void formatMask_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("mask");
        QTest::addColumn<QString>("expected");
        QTest::newRow("point kept") << 10.017 << u"##.#"_s << u"10."_s;
        QTest::newRow("no leading zero") << 0.44 << u"##.#"_s << u".4"_s;
        QTest::newRow("zero") << 0.0 << u"##.#"_s << u"."_s;
        QTest::newRow("more digits than mask") << 1234.56 << u"##.#"_s << u"1234.6"_s;
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

    // Satellite 2 (degrees|minutes) seen from the worked example's site, read from Text16.
    void feedRotation_data() {
        QTest::addColumn<QString>("satellite");
        QTest::addColumn<QString>("expected");
        QTest::newRow("42 east") << u"42|"_s << u" - 10"_s;
        QTest::newRow("30 west") << u"-30|"_s << u" + 54.7"_s;
        QTest::newRow("east, less than half a turn") << u"200|"_s << u" - 22.5"_s;
        QTest::newRow("east, more than half a turn") << u"220|"_s << u" + 7"_s;
        QTest::newRow("at the site") << u"35|27.69"_s << u" 0"_s;
        QTest::newRow("below 0.05, west of the site") << u"35|27.6"_s << u" + 0"_s;
    }
    void feedRotation() {
        QFETCH(QString, satellite);
        QFETCH(QString, expected);
        for (QChar separator : {u'.', u','}) {
            const StartResult result =
                run(u"35|27.69|32|48.5|13||"_s + satellite + u"|450"_s, separator);
            QCOMPARE(result.end, RunEnd::Completed);
            QCOMPARE(result.writes.value(1).text, expected);
        }
    }

    void feedOffset() {
        for (QChar separator : {u'.', u','}) {
            auto text = [&](double difference, double focal) {
                return FeedOffsetText(difference, focal, u"ВЫШЕ"_s, u"НИЖЕ"_s, separator);
            };
            QCOMPARE(text(-0.0002, 450), u" 0мм-->ВЫШЕ"_s);          // rounds to zero radians
            QCOMPARE(text(-3, 0), u" 0мм-->НИЖЕ"_s);                 // focal length 0
            QCOMPARE(text(90, 1234.56789), u" 1234.56мм-->ВЫШЕ"_s);  // cut after 8 characters
            QCOMPARE(text(30, 1), u" .500001мм-->ВЫШЕ"_s);           // no zero before the point
        }
    }

    // Minutes are added with their own sign: -10 and 30 is -9.5, -10 and -30 is -10.5.
    void signedMinutes() {
        const QString site = u"35|27.69|32|48.5|13||"_s;
        QVERIFY(!shown(run(site + u"-10|30|450"_s)).isEmpty());
        QCOMPARE(shown(run(site + u"-10|30|450"_s)), shown(run(site + u"-9.5||450"_s)));
        QCOMPARE(shown(run(site + u"-10|-30|450"_s)), shown(run(site + u"-10.5||450"_s)));
    }

    // Found by fuzzing: a site a hair south of the equator, where the arctangent rounds to a
    // right angle. The method gives due west exactly, not beyond; turned for the southern site,
    // due east exactly, where the satellite 66 degrees east of the site is.
    void azimuthNearEquator() {
        const StartResult result = run(u"300||-1e-45.485||06|e|35|27.69| "_s);
        QCOMPARE(result.end, RunEnd::Completed);
        QCOMPARE(result.alpha1, 90.0);
    }

    // The turn's edges, in each precision: a hair below 180 plus 180 rounds to a full turn,
    // which is north, 0; due west, the method's largest value, turns to due east.
    void shownAzimuthEdges() {
        const Site south{0.6f, -0.5};
        QCOMPARE(ShownAzimuth(south, std::nextafter(180.0, 0.0)), 0.0);
        QCOMPARE(ShownAzimuth(south, std::nextafter(180.0f, 0.0f)), 0.0f);
        QCOMPARE(ShownAzimuth(south, 270.0), 90.0);
        QCOMPARE(ShownAzimuth(south, 270.0f), 90.0f);
    }

    // Both shown azimuths against the exact geometry, south of the equator and north of it,
    // satellites east and west of the site; minutes typed with the degrees' sign.
    void azimuthGeometry_data() {
        QTest::addColumn<int>("longitudeDegrees");
        QTest::addColumn<double>("longitudeMinutes");
        QTest::addColumn<int>("latitudeDegrees");
        QTest::addColumn<double>("latitudeMinutes");
        QTest::addColumn<double>("satellite1");  // degrees, typed in the degrees box alone
        QTest::addColumn<double>("satellite2");
        QTest::newRow("Johannesburg") << 28 << 3.0 << -26 << -12.0 << 20.0 << 36.0;
        QTest::newRow("Sydney") << 151 << 12.0 << -33 << -52.0 << 140.0 << 156.0;
        QTest::newRow("Sao Paulo") << -46 << -38.0 << -23 << -33.0 << -61.0 << -43.0;
        QTest::newRow("Wellington, satellite over the date line")
            << 174 << 46.0 << -41 << -17.0 << 160.0 << -178.0;
        QTest::newRow("Ushuaia") << -68 << -18.0 << -54 << -48.0 << -61.0 << -75.0;
        QTest::newRow("satellite on the site's meridian, south")
            << 28 << 0.0 << -26 << -12.0 << 28.0 << 36.0;
        QTest::newRow("worked example") << 35 << 27.69 << 32 << 48.5 << 13.0 << 19.2;
        QTest::newRow("New York") << -74 << 0.0 << 40 << 43.0 << -101.0 << -97.0;
    }
    void azimuthGeometry() {
        QFETCH(int, longitudeDegrees);
        QFETCH(double, longitudeMinutes);
        QFETCH(int, latitudeDegrees);
        QFETCH(double, latitudeMinutes);
        QFETCH(double, satellite1);
        QFETCH(double, satellite2);
        const QString typed = QStringList{QString::number(longitudeDegrees),
                                          QString::number(longitudeMinutes),
                                          QString::number(latitudeDegrees),
                                          QString::number(latitudeMinutes),
                                          QString::number(satellite1),
                                          QString(),
                                          QString::number(satellite2),
                                          QString(),
                                          u"600"_s}
                                  .join(u'|');
        const StartResult result = run(typed);
        QCOMPARE(result.end, RunEnd::Completed);
        QVERIFY(result.alpha2);
        const double longitude = longitudeDegrees + longitudeMinutes / 60;
        const double latitude = latitudeDegrees + latitudeMinutes / 60;
        const bool south = latitude < 0;
        const double shown[2] = {result.alpha1, double(*result.alpha2)};
        const double satellites[2] = {satellite1, satellite2};
        for (int i = 0; i < 2; ++i) {
            const double exact = exactAzimuth(longitude, latitude, satellites[i]);
            QVERIFY2(
                apart(shown[i], exact) < 0.01,
                qPrintable(u"satellite %1: %2, exactly %3"_s.arg(i + 1).arg(shown[i]).arg(exact)));
            QVERIFY(shown[i] >= 0 && shown[i] < 360);
            // South of the equator the satellite is north of the site, north of it south.
            QCOMPARE(apart(shown[i], 0) < 90, south);
        }
        // The boxes and the data file show exactly these values.
        QCOMPARE(result.writes.value(0), (BoxWrite{u"Text8"_s, NumberText(result.alpha1)}));
        QCOMPARE(result.writes.value(2), (BoxWrite{u"Text12"_s, NumberText(*result.alpha2)}));
        QVERIFY(DataFileLine(result.alpha1, result.beta1)
                    .startsWith(NumberTextBare(result.alpha1).toLatin1() + ','));

        // On the plot the satellite line's far end is as far from the turned compass's NORTH as
        // the azimuth (floored to a half degree) is from north: within the NORTH half for a
        // southern site, whatever the rotation.
        QTemporaryDir dir;
        const QString file = dir.filePath(u"rlin1.txt"_s);
        QVERIFY(WriteDataFile(file, result.alpha1, result.beta1, nullptr));
        for (const char* rotation : {"-20", "0", "135", "-250"}) {
            RecordingCanvas canvas;
            const PlotRun plot =
                DrawPlot(canvas, QLatin1String(rotation), file, [] { return true; });
            QCOMPARE(plot.end, PlotEnd::Completed);
            QPoint north, satellite;
            bool thick = false;
            for (const DrawOp& op : canvas.operations()) {
                if (op.kind == DrawOp::Kind::LineWidth && op.number == 5) thick = true;
                if (op.kind != DrawOp::Kind::Line || !thick) continue;
                if (north.isNull()) north = op.to;  // the turned north-south axis comes first
                if (op.color == QColor(0, 255, 255)) satellite = op.to;
            }
            QVERIFY(!north.isNull() && !satellite.isNull());
            const double angle = plotAngle(north, satellite);
            QVERIFY2(
                std::fabs(angle - apart(HalfDegreeFloor(float(result.alpha1)), 0)) < 0.1,
                qPrintable(u"rotation %1: %2 degrees"_s.arg(QLatin1String(rotation)).arg(angle)));
            QCOMPARE(angle < 90, south);
        }
    }

    // The README's tables, read from the README itself: every site gives exactly its outputs,
    // so the README cannot drift from the program.
    void readmeTable() {
        QFile file(QStringLiteral(TORVEL_README));
        file.open(QIODevice::ReadOnly);  // a missing README leaves no rows and fails below
        QMap<QString, QStringList> rows;
        for (const QString& line : QString::fromUtf8(file.readAll())
                                       .section(u"\n## Check values"_s, 1)
                                       .section(u"\n## "_s, 0, 0)
                                       .split('\n')) {
            QStringList cells = line.split(u'|').mid(1, line.count(u'|') - 1);
            for (QString& cell : cells) cell = cell.trimmed().remove(u'`');
            if (line.startsWith(u'|')) rows.insert(cells.takeFirst(), cells);
        }
        QVERIFY2(rows.value(u"Input"_s).size() == 5, "the README's check values changed shape");
        for (int column = 0; column < 5; ++column) {
            auto cell = [&](const QString& row) { return rows.value(row).value(column); };
            // "19, 12 (Astra 19.2E)" is typed as "19" and "12"; "empty" is an empty box.
            QString in;
            for (const char* angle :
                 {"Site longitude", "Site latitude", "Satellite 1", "Satellite 2"})
                in += cell(angle + u": degrees, minutes"_s).section(u" ("_s, 0, 0) + u", "_s;
            in = in.replace(u"empty"_s, QString()).replace(u", "_s, u"|"_s) +
                 cell(u"Focal length, mm"_s);
            QStringList expected;
            for (const QString& output :
                 {u"Text8=ALFA 1"_s, u"Text16=Feed rotation"_s, u"Text12=ALFA 2"_s,
                  u"Text14=Elevation shift"_s, u"Text15=Centre distance"_s, u"Text7=BETA 1"_s,
                  u"Text11=BETA 2"_s, u"=rlin1.txt"_s})
                expected << output.section(u'=', 0, 0) + u'=' + cell(output.section(u'=', 1));
            expected.last() = cell(u"rlin1.txt"_s) + u"\r\n"_s;
            QCOMPARE(shown(run(in)), expected);
        }
    }
};

QTEST_GUILESS_MAIN(TestCalcCore)
#include "tst_calccore.moc"
