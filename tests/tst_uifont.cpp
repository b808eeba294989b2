#include <QFontDatabase>
#include <QFontInfo>
#include <QTest>
#include <algorithm>

#include "uifont.h"

// The program's fonts ask only for the first installed face of their list, and that must be the
// very font the whole list gives.
class TestUiFont : public QObject {
    Q_OBJECT
private slots:
    void sameFontAsTheWholeList_data();
    void sameFontAsTheWholeList();
};

void TestUiFont::sameFontAsTheWholeList_data() {
    QTest::addColumn<int>("face");
    QTest::addColumn<QStringList>("list");
    QTest::addColumn<double>("pointSize");
    QTest::addColumn<bool>("bold");
    const QStringList sans = {"MS Sans Serif", "Microsoft Sans Serif", "Liberation Sans",
                              "DejaVu Sans"};
    const QStringList serif = {"Times New Roman", "Liberation Serif", "DejaVu Serif"};
    for (double size : {8.25, 9.75, 12.0}) {
        for (bool bold : {false, true}) {
            const QByteArray tag = QByteArray::number(size) + (bold ? " bold" : "");
            QTest::newRow("sans " + tag) << int(UiFace::SansSerif) << sans << size << bold;
            QTest::newRow("serif " + tag) << int(UiFace::Serif) << serif << size << bold;
        }
    }
}

void TestUiFont::sameFontAsTheWholeList() {
    QFETCH(int, face);
    QFETCH(QStringList, list);
    QFETCH(double, pointSize);
    QFETCH(bool, bold);

    const QFont font = UiFont(UiFace(face), pointSize, bold);
    QFont whole = font;
    whole.setFamilies(list);
    const QFontInfo got(font), expected(whole);
    QCOMPARE(got.family(), expected.family());
    QCOMPARE(got.styleName(), expected.styleName());
    QCOMPARE(got.pointSizeF(), expected.pointSizeF());
    QCOMPARE(got.bold(), bold);
    QCOMPARE(QFontMetricsF(font).horizontalAdvance("РАССЧЕТ 217.344"),
             QFontMetricsF(whole).horizontalAdvance("РАССЧЕТ 217.344"));

    // Only an installed face is asked for, when one of the list is installed.
    if (std::any_of(list.cbegin(), list.cend(), QFontDatabase::hasFamily)) {
        QCOMPARE(font.families().size(), 1);
        QVERIFY(QFontDatabase::hasFamily(font.families().first()));
    }
}

QTEST_MAIN(TestUiFont)
#include "tst_uifont.moc"
