#include <QFontDatabase>
#include <QFontInfo>
#include <QTest>

#include "uifont.h"

// Each kind of font is the first installed face of its list, at the size and weight asked for.
class TestUiFont : public QObject {
    Q_OBJECT
private slots:
    void firstInstalledFace() {
        const QStringList lists[] = {
            {"MS Sans Serif", "Microsoft Sans Serif", "Liberation Sans", "DejaVu Sans"},
            {"Times New Roman", "Liberation Serif", "DejaVu Serif"}};
        for (const UiFace face : {UiFace::SansSerif, UiFace::Serif}) {
            QStringList installed = lists[int(face)];
            installed.removeIf([](const QString& name) { return !QFontDatabase::hasFamily(name); });
            QVERIFY(!installed.isEmpty());
            const QFontInfo info(UiFont(face, 9.75, face == UiFace::SansSerif));  // both weights
            QCOMPARE(info.family(), installed.first());
            QCOMPARE(info.pointSizeF(), 9.75);
            QCOMPARE(info.bold(), face == UiFace::SansSerif);
        }
    }
};

QTEST_MAIN(TestUiFont)
#include "tst_uifont.moc"
