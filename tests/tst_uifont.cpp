// SPDX-License-Identifier: GPL-3.0-or-later
#include <QFontDatabase>
#include <QFontInfo>
#include <QTest>

#include "uifont.h"

// Each face is the first the program prefers that the system has; the carried Liberation files are
// registered only where the system lacks Liberation, and then all three (ids 0 to 2).
// The test runs with the system's fonts and again with DejaVu only.
class TestUiFont : public QObject {
    Q_OBJECT
    const bool m_carried = !QFontDatabase::hasFamily(u"Liberation Sans"_qs) ||  // before UiFont
                           !QFontDatabase::hasFamily(u"Liberation Serif"_qs);

private slots:
    void faces_data() {
        QTest::addColumn<UiFace>("face");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<QStringList>("preferred");
        QTest::newRow("sans-serif")
            << UiFace::SansSerif << false
            << QStringList{"MS Sans Serif", "Microsoft Sans Serif", "Liberation Sans"};
        QTest::newRow("serif bold")
            << UiFace::Serif << true << QStringList{"Times New Roman", "Liberation Serif"};
    }
    void faces() {
        QFETCH(UiFace, face);
        QFETCH(bool, bold);
        QFETCH(QStringList, preferred);
        const QFontInfo info(UiFont(face, 9.75, bold));
        preferred.removeIf([](const QString& name) { return !QFontDatabase::hasFamily(name); });
        QCOMPARE(info.family(), preferred.value(0));
        QCOMPARE(info.bold(), bold);
        QCOMPARE(QFontDatabase::applicationFontFamilies(2).isEmpty(), !m_carried);
    }
};

QTEST_MAIN(TestUiFont)
#include "tst_uifont.moc"
