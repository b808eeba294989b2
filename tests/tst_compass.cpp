// The compass tooltips: the site's declination on a date by the built-in model, the magnetic
// azimuth, and the texts of the ALFA boxes' and the plot rotation box's tooltips.

#include <QRegularExpression>
#include <QTest>
#include <QtMath>

#include "compassnote.h"

using namespace Qt::StringLiterals;

namespace {

// A declination as the tooltips get it, covered by the model on 7 December 2026.
SiteDeclination declination(double degrees) {
    return {u"WMM-2025"_s, QDate(2026, 12, 7), true, degrees};
}

}  // namespace

Q_DECLARE_METATYPE(SiteDeclination)

class TestCompass : public QObject {
    Q_OBJECT
private slots:
    // The model is asked for dates from its epoch up to five years on, at the site's latitude
    // and longitude in degrees; the Site overload converts the calculation's radians.
    void declinationAt_data() {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<double>("latitude");
        QTest::addColumn<double>("longitude");
        QTest::addColumn<bool>("covered");
        QTest::addColumn<bool>("defined");
        QTest::newRow("worked example") << QDate(2026, 12, 7) << 32.808 << 35.4615 << true << true;
        QTest::newRow("Johannesburg") << QDate(2026, 12, 7) << -26.2 << 28.05 << true << true;
        QTest::newRow("first day") << QDate(2025, 1, 1) << 32.808 << 35.4615 << true << true;
        QTest::newRow("last day") << QDate(2029, 12, 31) << 32.808 << 35.4615 << true << true;
        QTest::newRow("day before") << QDate(2024, 12, 31) << 32.808 << 35.4615 << false << false;
        QTest::newRow("day after") << QDate(2030, 1, 1) << 32.808 << 35.4615 << false << false;
        QTest::newRow("invalid date") << QDate() << 32.808 << 35.4615 << false << false;
        QTest::newRow("north pole") << QDate(2026, 12, 7) << 90.0 << 0.0 << true << false;
        QTest::newRow("beyond the pole") << QDate(2026, 12, 7) << -100.0 << 0.0 << true << false;
        QTest::newRow("longitude past 180")
            << QDate(2026, 12, 7) << -33.87 << 511.2 << true << true;
    }
    void declinationAt() {
        QFETCH(QDate, date);
        QFETCH(double, latitude);
        QFETCH(double, longitude);
        QFETCH(bool, covered);
        QFETCH(bool, defined);
        QVERIFY(Wmm2025());
        const Site site{float(qDegreesToRadians(longitude)), qDegreesToRadians(latitude)};
        const SiteDeclination d = DeclinationAt(site, date);
        QCOMPARE(d.model, u"WMM-2025"_s);
        QCOMPARE(d.date, date);
        QCOMPARE(d.covered, covered);
        QCOMPARE(bool(d.degrees), defined);
        if (!defined) return;
        const std::optional<double> expected = MagneticDeclination(
            *Wmm2025(), latitude, double(site.longitude) * 180 / M_PI, 0, DecimalYear(date));
        QVERIFY(std::fabs(*d.degrees - *expected) < 1e-9);
        // No built-in model: nothing covered, nothing computed.
        const SiteDeclination none = DeclinationAt(std::nullopt, latitude, longitude, date);
        QVERIFY(none.model.isEmpty() && !none.covered && !none.degrees);
    }

    void magneticAzimuth_data() {
        QTest::addColumn<double>("trueAzimuth");
        QTest::addColumn<double>("declination");
        QTest::addColumn<double>("magnetic");
        QTest::newRow("east declination") << 217.5 << 5.25 << 212.25;
        QTest::newRow("west declination") << 217.5 << -12.5 << 230.0;
        QTest::newRow("past north, east") << 3.0 << 10.0 << 353.0;
        QTest::newRow("past north, west") << 355.0 << -10.0 << 5.0;
        QTest::newRow("exactly north") << 10.0 << 10.0 << 0.0;
        QTest::newRow("a hair below north") << 10.0 << 10.0 + 1e-14 << 0.0;
    }
    void magneticAzimuth() {
        QFETCH(double, trueAzimuth);
        QFETCH(double, declination);
        QFETCH(double, magnetic);
        const double a = MagneticAzimuth(trueAzimuth, declination);
        QVERIFY(a >= 0 && a < 360);
        QVERIFY(!std::signbit(a));
        QCOMPARE(a, magnetic);
    }

    // The ALFA box's tooltip: the magnetic azimuth and the declination to 0.1 degree with its
    // side, or why there is none; always the model, the date and that the box holds the true
    // azimuth.
    void azimuthToolTip_data() {
        QTest::addColumn<double>("azimuth");
        QTest::addColumn<SiteDeclination>("declination");
        QTest::addColumn<QString>("magnetic");  // the figure shown; empty for none
        QTest::addColumn<QString>("line");      // the declination's line, or the reason
        const SiteDeclination notCovered{u"WMM-2025"_s, QDate(2030, 1, 1), false, {}};
        const SiteDeclination undefined{u"WMM-2025"_s, QDate(2026, 12, 7), true, {}};
        QTest::newRow("east") << 217.344291652777 << declination(5.24) << u"212.1"_s
                              << u"Магнитное склонение: 5.2° восточное"_s;
        QTest::newRow("west") << 342.2378 << declination(-12.36) << u"354.6"_s
                              << u"Магнитное склонение: 12.4° западное"_s;
        QTest::newRow("past north") << 8.5693 << declination(21.7) << u"346.9"_s
                                    << u"Магнитное склонение: 21.7° восточное"_s;
        QTest::newRow("rounds to 360")
            << 10.0 << declination(10.04) << u"0.0"_s << u"Магнитное склонение: 10.0° восточное"_s;
        QTest::newRow("rounds to no side")
            << 180.0 << declination(-0.04) << u"180.0"_s << u"Магнитное склонение: 0.0°\n"_s;
        QTest::newRow("date not covered")
            << 217.3 << notCovered << QString()
            << u"Модель WMM-2025 не рассчитана на дату 01.01.2030:\nмагнитный азимут не показан."_s;
        QTest::newRow("no declination at the site")
            << 217.3 << undefined << QString() << u"Магнитное склонение здесь не определено"_s;
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
        if (magnetic.isEmpty()) {
            QVERIFY2(!tip.contains(figure) && !tip.contains(QRegularExpression(u"\\d\\.\\d°"_s)),
                     qPrintable(tip));
            return;
        }
        QVERIFY2(tip.startsWith(figure + magnetic + u"°\n"_s), qPrintable(tip));
        QVERIFY2(tip.contains(u"(модель WMM-2025, дата 07.12.2026)"_s), qPrintable(tip));
    }

    // The rotation box's note: the declination, what to type for magnetic north, and that the
    // satellite line stays at the true azimuth from the thick compass's NORTH.
    void rotationNote_data() {
        QTest::addColumn<SiteDeclination>("declination");
        QTest::addColumn<QString>("toMagnetic");  // typed to put NORTH on magnetic north
        QTest::addColumn<QString>("toTrue");      // typed with the thin compass on the needle
        QTest::addColumn<QString>("line");
        QTest::newRow("east") << declination(5.24) << u"5.2"_s << u"-5.2"_s
                              << u"Склонение места последнего расчёта: 5.2° восточное\n"_s;
        QTest::newRow("west") << declination(-12.36) << u"-12.4"_s << u"12.4"_s
                              << u"Склонение места последнего расчёта: 12.4° западное\n"_s;
        QTest::newRow("rounds to no side")
            << declination(0.04) << QString() << QString()
            << u"Магнитный север здесь совпадает с истинным: крест поворачивать не нужно."_s;
        QTest::newRow("date not covered")
            << SiteDeclination{u"WMM-2025"_s, QDate(2024, 12, 31), false, {}} << QString()
            << QString()
            << u"Модель WMM-2025 не рассчитана на дату 31.12.2024:\nсклонение места последнего расчёта не показано."_s;
    }
    void rotationNote() {
        QFETCH(SiteDeclination, declination);
        QFETCH(QString, toMagnetic);
        QFETCH(QString, toTrue);
        QFETCH(QString, line);
        const QString note = RotationNote(declination);
        QVERIFY2(note.contains(line), qPrintable(note));
        if (toMagnetic.isEmpty()) {
            QVERIFY2(!note.contains(u"Введите"_s), qPrintable(note));
            return;
        }
        QVERIFY2(note.contains(u"Введите "_s + toMagnetic +
                               u" — и NORTH толстого креста встанет на магнитный север\n"
                               u"относительно тонкого (истинного) креста."_s),
                 qPrintable(note));
        QVERIFY2(
            note.contains(u"всегда отложены на истинный азимут\nот NORTH толстого креста: при "_s +
                          toMagnetic + u" линия не показывает на спутник."_s),
            qPrintable(note));
        QVERIFY2(note.contains(u"по стрелке компаса, введите "_s + toTrue + u":"_s),
                 qPrintable(note));
    }

    void withNote() {
        QCOMPARE(WithNote(u"Поворот"_s, QString()), u"Поворот"_s);
        QCOMPARE(WithNote(u"Поворот"_s, u"Склонение"_s), u"Поворот\n\nСклонение"_s);
    }
};

QTEST_GUILESS_MAIN(TestCompass)
#include "tst_compass.moc"
