// The compass tooltips: the site's declination on a date by the built-in model, the magnetic
// azimuth, and the texts of the ALFA boxes' and the plot rotation box's tooltips.

#include <QRegularExpression>
#include <QTest>
#include <QtMath>

#include "compassnote.h"

using namespace Qt::StringLiterals;

namespace {

// A declination as the tooltips get it, covered by the model on 7 December 2026.
SiteDeclination covered(double degrees) {
    return {u"WMM-2025"_s, QDate(2026, 12, 7), true, degrees};
}

}  // namespace

Q_DECLARE_METATYPE(SiteDeclination)

class TestCompass : public QObject {
    Q_OBJECT
private slots:
    // Dates from the model's epoch up to five years on; the site's radians to degrees.
    void declinationAt_data() {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<double>("latitude");
        QTest::addColumn<bool>("covered");
        QTest::addColumn<bool>("defined");
        QTest::newRow("first day") << QDate(2025, 1, 1) << 32.808 << true << true;
        QTest::newRow("last day") << QDate(2029, 12, 31) << -26.2 << true << true;
        QTest::newRow("day before") << QDate(2024, 12, 31) << 32.808 << false << false;
        QTest::newRow("day after") << QDate(2030, 1, 1) << 32.808 << false << false;
        QTest::newRow("pole") << QDate(2026, 12, 7) << 90.0 << true << false;
        QTest::newRow("beyond the pole") << QDate(2026, 12, 7) << -100.0 << true << false;
    }
    void declinationAt() {
        QFETCH(QDate, date);
        QFETCH(double, latitude);
        QFETCH(bool, covered);
        QFETCH(bool, defined);
        const double longitude = 35.4615;
        const Site site{float(qDegreesToRadians(longitude)), qDegreesToRadians(latitude)};
        const SiteDeclination d = DeclinationAt(site, date);
        QVERIFY(d.model == u"WMM-2025"_s && d.date == date && d.covered == covered);
        QCOMPARE(bool(d.degrees), defined);
        if (defined)
            QVERIFY(std::fabs(*d.degrees - *MagneticDeclination(*Wmm2025(), latitude, longitude, 0,
                                                                DecimalYear(date))) < 1e-5);
        const SiteDeclination none = DeclinationAt(std::nullopt, latitude, longitude, date);
        QVERIFY(none.model.isEmpty() && !none.covered && !none.degrees);
    }

    void magneticAzimuth_data() {
        QTest::addColumn<double>("trueAzimuth");
        QTest::addColumn<double>("declination");
        QTest::addColumn<double>("magnetic");
        QTest::newRow("west declination") << 217.5 << -12.5 << 230.0;
        QTest::newRow("past north, east") << 3.0 << 10.0 << 353.0;
        QTest::newRow("past north, west") << 355.0 << -10.0 << 5.0;
        QTest::newRow("a hair below north") << 10.0 << 10.0 + 1e-14 << 0.0;
    }
    void magneticAzimuth() {
        QFETCH(double, trueAzimuth);
        QFETCH(double, declination);
        QFETCH(double, magnetic);
        QCOMPARE(MagneticAzimuth(trueAzimuth, declination), magnetic);
    }

    // The magnetic azimuth and the declination to 0.1 degree with its side, or why there is
    // none; always that the box holds the true azimuth.
    void azimuthToolTip_data() {
        QTest::addColumn<double>("azimuth");
        QTest::addColumn<SiteDeclination>("declination");
        QTest::addColumn<QString>("magnetic");  // the figure shown; empty for none
        QTest::addColumn<QString>("line");      // the declination's line, or the reason
        QTest::newRow("east") << 217.344291652777 << covered(5.24) << u"212.1"_s
                              << u"Магнитное склонение: 5.2° восточное\n"_s;
        QTest::newRow("west") << 342.2378 << covered(-12.36) << u"354.6"_s
                              << u"Магнитное склонение: 12.4° западное\n"_s;
        QTest::newRow("rounds to 360")
            << 10.0 << covered(10.04) << u"0.0"_s << u"(модель WMM-2025, дата 07.12.2026)"_s;
        QTest::newRow("date not covered")
            << 217.3 << SiteDeclination{u"WMM-2025"_s, QDate(2030, 1, 1), false, {}} << QString()
            << u"Модель WMM-2025 не рассчитана на дату 01.01.2030"_s;
        QTest::newRow("no declination at the site")
            << 217.3 << SiteDeclination{u"WMM-2025"_s, QDate(2026, 12, 7), true, {}} << QString()
            << u"Магнитное склонение здесь не определено"_s;
        QTest::newRow("no model") << 217.3 << SiteDeclination{{}, QDate(2026, 12, 7), false, {}}
                                  << QString() << u"Модель магнитного поля не встроена"_s;
    }
    void azimuthToolTip() {
        QFETCH(double, azimuth);
        QFETCH(SiteDeclination, declination);
        QFETCH(QString, magnetic);
        QFETCH(QString, line);
        const QString tip = AzimuthToolTip(azimuth, declination);
        QVERIFY2(tip.contains(line), qPrintable(tip));
        QVERIFY(tip.endsWith(u"В поле — истинный азимут, от географического севера."_s));
        const QString figure = u"Азимут по компасу (магнитный): "_s;
        if (magnetic.isEmpty())
            QVERIFY2(!tip.contains(figure) && !tip.contains(QRegularExpression(u"\\d\\.\\d°"_s)),
                     qPrintable(tip));
        else
            QVERIFY2(tip.startsWith(figure + magnetic + u"°\n"_s), qPrintable(tip));
    }

    // What to type for magnetic north, and that the line stays at the true azimuth from NORTH.
    void rotationNote_data() {
        QTest::addColumn<SiteDeclination>("declination");
        QTest::addColumn<QString>("toMagnetic");  // typed to put NORTH on magnetic north
        QTest::addColumn<QString>("toTrue");      // typed with the thin compass on the needle
        QTest::addColumn<QString>("line");
        QTest::newRow("east") << covered(5.24) << u"5.2"_s << u"-5.2"_s
                              << u"Склонение места последнего расчёта: 5.2° восточное\n"_s;
        QTest::newRow("west") << covered(-12.36) << u"-12.4"_s << u"12.4"_s
                              << u"Склонение места последнего расчёта: 12.4° западное\n"_s;
        QTest::newRow("rounds to no side")
            << covered(0.04) << QString() << QString()
            << u"Склонение места последнего расчёта: 0.0°\n(модель WMM-2025, дата "
               u"07.12.2026).\nМагнитный север здесь совпадает с истинным"_s;
        QTest::newRow("date not covered")
            << SiteDeclination{u"WMM-2025"_s, QDate(2024, 12, 31), false, {}} << QString()
            << QString() << u"Модель WMM-2025 не рассчитана на дату 31.12.2024"_s;
    }
    void rotationNote() {
        QFETCH(SiteDeclination, declination);
        QFETCH(QString, toMagnetic);
        QFETCH(QString, toTrue);
        QFETCH(QString, line);
        const QString note = RotationNote(declination);
        QVERIFY2(note.contains(line), qPrintable(note));
        QCOMPARE(note.contains(u"Введите"_s), !toMagnetic.isEmpty());
        if (toMagnetic.isEmpty()) return;
        for (const QString& part :
             {u"Введите "_s + toMagnetic +
                  u" — и NORTH толстого креста встанет на магнитный "
                  u"север\nотносительно тонкого (истинного) креста."_s,
              u"от NORTH толстого креста: при "_s + toMagnetic + u" линия не показывает"_s,
              u"по стрелке компаса, введите "_s + toTrue + u":"_s})
            QVERIFY2(note.contains(part), qPrintable(note));
    }
};

QTEST_GUILESS_MAIN(TestCompass)
#include "tst_compass.moc"
