#include <QFile>
#include <QTest>

#include "datafile.h"
#include "startrun.h"

// The check values the README lists for installers, exactly as the main window shows them, and
// runs near the limits of the method.
class TestCheckValues : public QObject {
    Q_OBJECT
private slots:
    void checkValues_data();
    void checkValues();
    void readmeTable_data();
    void readmeTable();
    void azimuthNearEquator_data();
    void azimuthNearEquator();
};

namespace {

// The nine input boxes in the order Text1, Text2, Text3, Text4, Text5, Text6, Text9, Text10,
// Text13, separated by '|'.
StartInputs inputsFrom(const QString& boxes) {
    const QStringList t = boxes.split(u'|');
    StartInputs in;
    in.text1 = t.value(0);
    in.text2 = t.value(1);
    in.text3 = t.value(2);
    in.text4 = t.value(3);
    in.text5 = t.value(4);
    in.text6 = t.value(5);
    in.text9 = t.value(6);
    in.text10 = t.value(7);
    in.text13 = t.value(8);
    return in;
}

QString dump(const StartResult& run) {
    QStringList lines;
    for (const BoxWrite& write : run.writes) lines << write.box + u'=' + write.text;
    lines << QStringLiteral("rlin1.txt=") +
                 QString::fromLatin1(DataFileLine(run.alpha1, run.beta1)).trimmed();
    return lines.join(u'\n');
}

}  // namespace

void TestCheckValues::checkValues_data() {
    QTest::addColumn<QString>("inputs");
    QTest::addColumn<QString>("expected");
    QTest::newRow("worked example")
        << "35|27.69|32|48.5|13||19|12|450"
        << QStringList{"Text8= 217.344291652777",    "Text16= + 23.5",
                       "Text12= 208.2955",           "Text14= 24.9487мм-->НИЖЕ",
                       "Text15= 70.7734мм-->СПРАВА", "Text7= 44.8168471212995",
                       "Text11= 47.99485",           "rlin1.txt=217.344291652777,44.8168471212995"}
               .join(u'\n');
    // Paris: Astra 19.2E, then Hot Bird 13E.
    QTest::newRow("Paris")
        << "2|21|48|51|19|12|13||600"
        << QStringList{"Text8= 158.088835667264",   "Text16= - 9.2",
                       "Text12= 165.978",           "Text14= 14.3506мм-->НИЖЕ",
                       "Text15= 82.3532мм-->СЛЕВА", "Text7= 31.6538827896109",
                       "Text11= 33.02452",          "rlin1.txt=158.088835667264,31.6538827896109"}
               .join(u'\n');
    // Dubai: Arabsat 26E, then Arabsat 30.5E.
    QTest::newRow("Dubai")
        << "55|18|25|16|26||30|30|500"
        << QStringList{"Text8= 232.743189375074",    "Text16= + 41.6",
                       "Text12= 227.2698",           "Text14= 30.6507мм-->НИЖЕ",
                       "Text15= 47.6923мм-->СПРАВА", "Text7= 46.0465957998015",
                       "Text11= 49.56107",           "rlin1.txt=232.743189375074,46.0465957998015"}
               .join(u'\n');
    // New York: SES-1 101W, then Galaxy 19 97W.
    QTest::newRow("New York")
        << "-74|0|40|43|-101||-97||800"
        << QStringList{"Text8= 217.993353731746",    "Text16= + 24.4",
                       "Text12= 213.0527",           "Text14= 27.0348мм-->НИЖЕ",
                       "Text15= 68.8985мм-->СПРАВА", "Text7= 35.4160387577289",
                       "Text11= 37.35273",           "rlin1.txt=217.993353731746,35.4160387577289"}
               .join(u'\n');
}

void TestCheckValues::checkValues() {
    QFETCH(QString, inputs);
    QFETCH(QString, expected);
    for (QChar separator : {u'.', u','}) {
        const StartResult run = RunStart(inputsFrom(inputs), {}, separator);
        QCOMPARE(run.end, RunEnd::Completed);
        QCOMPARE(dump(run), expected);
    }
}

namespace {

// The cells of the README's check-value tables by the first cell of their row, one column per
// site; code spans lose their backticks, blanks inside them stay.
QMap<QString, QStringList> readmeRows() {
    QFile file(QStringLiteral(TORVEL_README));
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QString text = QString::fromUtf8(file.readAll());
    const qsizetype start = text.indexOf(QStringLiteral("\n## Check values"));
    const qsizetype end = text.indexOf(QStringLiteral("\n## "), start + 1);
    QMap<QString, QStringList> rows;
    for (const QString& line : text.mid(start, end - start).split(u'\n')) {
        if (!line.startsWith(u'|')) continue;
        QStringList cells = line.split(u'|').mid(1, line.count(u'|') - 1);
        for (QString& cell : cells) {
            cell = cell.mid(1, cell.size() - 2);  // the blank on each side of the cell
            if (cell.startsWith(u'`') && cell.endsWith(u'`')) cell = cell.mid(1, cell.size() - 2);
        }
        rows.insert(cells.takeFirst(), cells);
    }
    return rows;
}

// "19, 12 (Astra 19.2E)" as its degrees and minutes texts; "empty" is an empty box.
QStringList degreesAndMinutes(const QString& cell) {
    QStringList parts = cell.section(QStringLiteral(" ("), 0, 0).split(QStringLiteral(", "));
    for (QString& part : parts)
        if (part == QStringLiteral("empty")) part.clear();
    return parts;
}

}  // namespace

// The README's tables, read from the README itself: every site's inputs give exactly its
// outputs, so the README cannot drift from the program.
void TestCheckValues::readmeTable_data() {
    QTest::addColumn<int>("column");
    const QStringList sites = readmeRows().value(QStringLiteral("Input"));
    QVERIFY2(sites.size() == 4, "the README's check-value tables are missing or changed shape");
    for (int i = 0; i < sites.size(); ++i) QTest::newRow(qPrintable(sites[i])) << i;
}

void TestCheckValues::readmeTable() {
    QFETCH(int, column);
    const QMap<QString, QStringList> rows = readmeRows();
    auto cell = [&](const char* row) { return rows.value(QString::fromUtf8(row)).value(column); };
    const QStringList site = degreesAndMinutes(cell("Site longitude: degrees, minutes")) +
                             degreesAndMinutes(cell("Site latitude: degrees, minutes")) +
                             degreesAndMinutes(cell("Satellite 1: degrees, minutes")) +
                             degreesAndMinutes(cell("Satellite 2: degrees, minutes"));
    QCOMPARE(site.size(), 8);
    const StartResult run =
        RunStart(inputsFrom(site.join(u'|') + u'|' + cell("Focal length, mm")), {}, u'.');
    QCOMPARE(run.end, RunEnd::Completed);
    const QList<std::pair<const char*, const char*>> shown = {
        {"ALFA 1", "Text8"},           {"BETA 1", "Text7"},         {"ALFA 2", "Text12"},
        {"BETA 2", "Text11"},          {"Feed rotation", "Text16"}, {"Elevation shift", "Text14"},
        {"Centre distance", "Text15"},
    };
    for (const auto& [row, box] : shown) {
        QString text;
        for (const BoxWrite& write : run.writes)
            if (write.box == QLatin1String(box)) text = write.text;
        QCOMPARE(cell(row), text);
    }
    QCOMPARE(cell("rlin1.txt"), QString::fromLatin1(DataFileLine(run.alpha1, run.beta1)).trimmed());
}

void TestCheckValues::azimuthNearEquator_data() {
    QTest::addColumn<QString>("inputs");
    QTest::addColumn<double>("alpha1");
    QTest::newRow("a hair south of the equator: due west")
        << "300||-1e-45.485||06|e|35|27.69| " << 270.0;
}

// Azimuths never leave the range from due east to due west; a site so close to the equator that
// the arctangent rounds to a right angle gets exactly 90 or 270.
void TestCheckValues::azimuthNearEquator() {
    QFETCH(QString, inputs);
    QFETCH(double, alpha1);
    const StartResult run = RunStart(inputsFrom(inputs), {}, u'.');
    QCOMPARE(run.end, RunEnd::Completed);
    QCOMPARE(run.alpha1, alpha1);
}

QTEST_GUILESS_MAIN(TestCheckValues)
#include "tst_checkvalues.moc"
