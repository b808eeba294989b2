// SPDX-License-Identifier: GPL-3.0-or-later
#include <QFile>
#include <QRegularExpression>
#include <QTest>
#include <QtMath>

#include "compassnote.h"
#include "datafile.h"
#include "feedoffset.h"
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
