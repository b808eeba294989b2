// SPDX-License-Identifier: GPL-3.0-or-later
#include <QFile>
#include <QTest>
#include <cmath>

#include "geomag.h"

static QByteArray readData(const QString& name) {
    QFile file(QStringLiteral(TORVEL_GEOMAG_DATA "/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

using Row = std::array<double, 5>;  // year, height km, latitude, longitude, declination

Q_DECLARE_METATYPE(Row)

class TestGeomag : public QObject {
    Q_OBJECT
private slots:
    // Every row of the model's published test values, to the 0.01 degree they are given to.
    void publishedValues_data() {
        QTest::addColumn<Row>("row");
        QList<QByteArray> lines = readData(QStringLiteral("values.csv")).trimmed().split('\n');
        // A missing file, another header or another number of rows adds a row that fails.
        if (!lines.takeFirst().startsWith("date,alt,lat,lon,") || lines.size() != 213)
            QTest::newRow("not the 213 published rows") << Row{};
        for (const QByteArray& line : std::as_const(lines)) {
            Row row;
            for (int k = 0; k < 5; ++k) {
                bool ok = false;
                const double value = line.split(',').value(k < 4 ? k : 10).toDouble(&ok);
                row[k] = ok ? value : qQNaN();
            }
            QTest::addRow("%s", line.constData()) << row;
        }
    }
    void publishedValues() {
        QFETCH(Row, row);
        const auto [year, heightKm, latitude, longitude, declination] = row;
        // The edition that covers the date: 2015 and 2020 from the test data, 2025 built in.
        static const std::optional<MagneticModel> models[] = {
            LoadMagneticModel(readData(QStringLiteral("wmm-2015.json"))),
            LoadMagneticModel(readData(QStringLiteral("wmm-2020.json"))), Wmm2025()};
        const MagneticModel* model = nullptr;
        for (const auto& m : models)
            if (m && m->covers(year)) model = &*m;
        QVERIFY2(model, "no model covers the date");
        const double result =
            MagneticDeclination(*model, latitude, longitude, heightKm, year).value_or(qQNaN());
        QVERIFY2(std::abs(std::remainder(result - declination, 360.0)) <= 0.01,
                 qPrintable(model->name + QString::asprintf(": %.4f", result)));
    }

    // The built-in model from its first day up to its last; a leap year's last day.
    void decimalYear() {
        QCOMPARE(DecimalYear(QDate(2024, 12, 31)), 2024.9972677595629);
        for (const auto& [date, covered] : {std::pair(QDate(2024, 12, 31), false),
                                            {QDate(2025, 1, 1), true},
                                            {QDate(2029, 12, 31), true},
                                            {QDate(2030, 1, 1), false}})
            QVERIFY2(Wmm2025() && Wmm2025()->covers(DecimalYear(date)) == covered,
                     qPrintable(date.toString()));
    }
};

QTEST_GUILESS_MAIN(TestGeomag)
#include "tst_geomag.moc"
