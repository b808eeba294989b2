#include <QFile>
#include <QTest>

#include "datafile.h"
#include "feedoffset.h"
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
        QVERIFY2(rows.value(u"Input"_s).size() == 4, "the README's check values changed shape");
        for (int column = 0; column < 4; ++column) {
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
