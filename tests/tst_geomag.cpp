#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>
#include <QVariantList>
#include <cmath>
#include <utility>

#include "geomag.h"

namespace {

QByteArray readData(const QString& name) {
    QFile file(QStringLiteral(TORVEL_GEOMAG_DATA "/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The edition of the model that covers the date, among those the published test values were
// computed with: 2015 and 2020 from the test data, 2025 built into the library.
const MagneticModel* modelFor(double decimalYear) {
    static const std::optional<MagneticModel> wmm2015 =
        LoadMagneticModel(readData(QStringLiteral("wmm-2015.json")));
    static const std::optional<MagneticModel> wmm2020 =
        LoadMagneticModel(readData(QStringLiteral("wmm-2020.json")));
    for (const std::optional<MagneticModel>* model : {&wmm2015, &wmm2020, &Wmm2025()})
        if (*model && (*model)->covers(decimalYear)) return &**model;
    return nullptr;
}

// The 2015 coefficient file with the value under key replaced, or removed when undefined.
QByteArray changed(const QString& key, const QJsonValue& value) {
    QJsonObject object =
        QJsonDocument::fromJson(readData(QStringLiteral("wmm-2015.json"))).object();
    if (value.isUndefined())
        object.remove(key);
    else
        object[key] = value;
    return QJsonDocument(object).toJson();
}

QJsonArray zeros(int count) {
    return QJsonArray::fromVariantList(QVariantList(count, 0.0));
}

}  // namespace

class TestGeomag : public QObject {
    Q_OBJECT
private slots:
    // Every row of the model's published test values (decimal year, height km, latitude,
    // longitude, ..., declination in the 11th column), to the 0.01 degree they are given to. An
    // unreadable field is NaN, and a file that is missing or has other than its 213 rows adds a
    // row of NaNs, so each of them fails.
    void publishedValues_data() {
        QTest::addColumn<double>("year");
        QTest::addColumn<double>("heightKm");
        QTest::addColumn<double>("latitude");
        QTest::addColumn<double>("longitude");
        QTest::addColumn<double>("declination");
        QList<QByteArray> lines = readData(QStringLiteral("values.csv")).split('\n');
        if (!lines.takeFirst().startsWith("date,alt,lat,lon,")) lines.clear();
        int rows = 0;
        for (const QByteArray& line : std::as_const(lines)) {
            if (line.trimmed().isEmpty()) continue;
            const QList<QByteArray> fields = line.split(',');
            double value[5];
            const int column[5] = {0, 1, 2, 3, 10};
            for (int k = 0; k < 5; ++k) {
                bool ok = false;
                value[k] = fields.value(column[k]).toDouble(&ok);
                if (!ok) value[k] = qQNaN();
            }
            QTest::addRow("row %d", ++rows)
                << value[0] << value[1] << value[2] << value[3] << value[4];
        }
        if (rows != 213)
            QTest::addRow("%d rows in values.csv", rows)
                << qQNaN() << qQNaN() << qQNaN() << qQNaN() << qQNaN();
    }
    void publishedValues() {
        QFETCH(double, year);
        QFETCH(double, heightKm);
        QFETCH(double, latitude);
        QFETCH(double, longitude);
        QFETCH(double, declination);
        const MagneticModel* model = modelFor(year);
        QVERIFY2(model, "no model covers the date");
        const std::optional<double> result =
            MagneticDeclination(*model, latitude, longitude, heightKm, year);
        QVERIFY(result);
        QVERIFY2(std::abs(std::remainder(*result - declination, 360.0)) <= 0.01,
                 qPrintable(QStringLiteral("%1: %2, expected %3")
                                .arg(model->name)
                                .arg(*result, 0, 'f', 4)
                                .arg(declination)));
    }

    void coverage_data() {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<bool>("covered");
        QTest::newRow("day before the epoch") << QDate(2024, 12, 31) << false;
        QTest::newRow("epoch") << QDate(2025, 1, 1) << true;
        QTest::newRow("last day") << QDate(2029, 12, 31) << true;
        QTest::newRow("five years on") << QDate(2030, 1, 1) << false;
    }
    void coverage() {
        QFETCH(QDate, date);
        QFETCH(bool, covered);
        QVERIFY(Wmm2025());
        QCOMPARE(Wmm2025()->name, QStringLiteral("WMM-2025"));
        QCOMPARE(Wmm2025()->covers(DecimalYear(date)), covered);
    }

    void decimalYear_data() {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<double>("year");
        QTest::newRow("1 January") << QDate(2025, 1, 1) << 2025.0;
        QTest::newRow("2 July, leap year") << QDate(2024, 7, 2) << 2024.5;
        QTest::newRow("2 July") << QDate(2023, 7, 2) << 2023.4986301369863;
        QTest::newRow("31 December, leap year") << QDate(2024, 12, 31) << 2024.9972677595629;
    }
    void decimalYear() {
        QFETCH(QDate, date);
        QFETCH(double, year);
        QCOMPARE(DecimalYear(date), year);
    }

    void coefficientFile_data() {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<bool>("loads");
        const QByteArray valid = readData(QStringLiteral("wmm-2015.json"));
        const QJsonValue none(QJsonValue::Undefined);
        QJsonArray textAmongNumbers = zeros(91);
        textAmongNumbers[90] = "-0.7";
        QTest::newRow("unchanged") << valid << true;
        QTest::newRow("cut short") << valid.left(valid.size() / 2) << false;
        QTest::newRow("empty name") << changed("name", "") << false;
        QTest::newRow("epoch as text") << changed("epoch", "2015") << false;
        QTest::newRow("degree 13") << changed("n_max", 13) << false;
        QTest::newRow("variation degree 11") << changed("n_max_sec_var", 11) << false;
        QTest::newRow("no variation h") << changed("secular_var_coeff_h", none) << false;
        QTest::newRow("90 g") << changed("main_field_coeff_g", zeros(90)) << false;
        QTest::newRow("92 variation g") << changed("secular_var_coeff_g", zeros(92)) << false;
        QTest::newRow("text among h") << changed("main_field_coeff_h", textAmongNumbers) << false;
    }
    void coefficientFile() {
        QFETCH(QByteArray, json);
        QFETCH(bool, loads);
        QCOMPARE(LoadMagneticModel(json).has_value(), loads);
    }

    // At a geographic pole, beyond it and for a NaN there is no declination; just beside the pole
    // there is one.
    void poles_data() {
        QTest::addColumn<double>("latitude");
        QTest::addColumn<double>("heightKm");
        QTest::addColumn<bool>("defined");
        QTest::newRow("north pole") << 90.0 << 0.0 << false;
        QTest::newRow("south pole, 10 km up") << -90.0 << 10.0 << false;
        QTest::newRow("within 1e-6 degree") << 89.9999999 << 0.0 << false;
        QTest::newRow("beyond the pole") << 90.5 << 0.0 << false;
        QTest::newRow("NaN height") << 45.0 << qQNaN() << false;
        QTest::newRow("beside the south pole") << -89.99999 << 0.0 << true;
    }
    void poles() {
        QFETCH(double, latitude);
        QFETCH(double, heightKm);
        QFETCH(bool, defined);
        QVERIFY(Wmm2025());
        const std::optional<double> declination =
            MagneticDeclination(*Wmm2025(), latitude, 35.4615, heightKm, 2026.93);
        QCOMPARE(declination.has_value(), defined);
        if (declination) QVERIFY(std::abs(*declination) <= 180);
    }
};

QTEST_GUILESS_MAIN(TestGeomag)
#include "tst_geomag.moc"
