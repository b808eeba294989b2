#include <QFontDatabase>
#include <QFontInfo>
#include <QTest>

#include "appdir.h"
#include "uifont.h"

// Each kind of font is the layout's Liberation face at the size and weight asked for, from the
// system where it has the face and from the files carried beside the program where it lacks it;
// a system with an MS face ahead of Liberation keeps it. The test runs once with the system's
// fonts and once with a font configuration that has DejaVu only.
class TestUiFont : public QObject {
    Q_OBJECT
    bool m_systemHasLiberation = false;

private slots:
    void initTestCase() {
        // Before any UiFont call, so that nothing is registered yet.
        m_systemHasLiberation = QFontDatabase::hasFamily("Liberation Sans") &&
                                QFontDatabase::hasFamily("Liberation Serif");
    }

    void layoutFace_data() {
        QTest::addColumn<UiFace>("face");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<QStringList>("ahead");  // faces the program prefers to Liberation
        QTest::addColumn<QString>("liberation");
        const QStringList sansAhead = {"MS Sans Serif", "Microsoft Sans Serif"};
        QTest::newRow("sans-serif") << UiFace::SansSerif << false << sansAhead << "Liberation Sans";
        QTest::newRow("sans-serif bold")
            << UiFace::SansSerif << true << sansAhead << "Liberation Sans";
        QTest::newRow("serif bold")
            << UiFace::Serif << true << QStringList{"Times New Roman"} << "Liberation Serif";
    }
    void layoutFace() {
        QFETCH(UiFace, face);
        QFETCH(bool, bold);
        QFETCH(QStringList, ahead);
        QFETCH(QString, liberation);
        const QFontInfo info(UiFont(face, 9.75, bold));
        ahead.removeIf([](const QString& name) { return !QFontDatabase::hasFamily(name); });
        QCOMPARE(info.family(), ahead.isEmpty() ? liberation : ahead.first());
        QCOMPARE(info.pointSizeF(), 9.75);
        QCOMPARE(info.bold(), bold);
    }

    // The carried files are read only where the system lacks the faces, and then all of them.
    void carriedFilesOnlyWhenMissing() {
        UiFont(UiFace::SansSerif, 12, false);
        UiFont(UiFace::Serif, 12, true);
        QStringList registered;
        for (int id = 0; id < 10; ++id) registered += QFontDatabase::applicationFontFamilies(id);
        if (m_systemHasLiberation) {
            QVERIFY2(registered.isEmpty(), qPrintable(registered.join(", ")));
        } else {
            registered.sort();
            QCOMPARE(registered,
                     QStringList({"Liberation Sans", "Liberation Sans", "Liberation Serif"}));
        }
    }
};

QTEST_MAIN(TestUiFont)
#include "tst_uifont.moc"
