// SPDX-License-Identifier: GPL-3.0-or-later
#include <unistd.h>

#include <QFontDatabase>
#include <QFontInfo>
#include <QTemporaryFile>
#include <QTest>
#include <cstdio>

#include "messages.h"
#include "uifont.h"

// Missing fonts reported: with the system's fonts, DejaVu only, and (a second build) none at all.
#ifdef TORVEL_TEST_NO_FONTS
constexpr int kMissingFontReports = 1;
#else
constexpr int kMissingFontReports = 0;
#endif

// Each face the first preferred one there; the carried Liberation files (ids 0 to 2) only where
// the system lacks them. With no face for the words: said once, on standard error and a message.
class TestUiFont : public QObject {
    Q_OBJECT

private slots:
    void faces() {
        const bool carried = !QFontDatabase::hasFamily(u"Liberation Sans"_qs) ||  // before UiFont
                             !QFontDatabase::hasFamily(u"Liberation Serif"_qs);
        QStringList messages;
        Messages::setHandler([&messages](QWidget*, const QString& text) { messages << text; });
        QTemporaryFile log;
        QVERIFY(log.open());
        std::fflush(stderr);
        const int saved = ::dup(2);
        ::dup2(log.handle(), 2);
        const QFontInfo sans(UiFont(UiFace::SansSerif, 9.75, false));
        const QFontInfo serif(UiFont(UiFace::Serif, 9.75, true));
        std::fflush(stderr);
        ::dup2(saved, 2);
        ::close(saved);
        QTest::qWait(10);
        Messages::setHandler({});
        QCOMPARE(messages, QStringList(kMissingFontReports, MissingFontsMessage()));
        QVERIFY(log.seek(0));
        QCOMPARE(QString::fromLocal8Bit(log.readAll()).count(MissingFontsMessage()),
                 kMissingFontReports);
        if (kMissingFontReports) return;  // no face to choose

        auto first = [](QStringList preferred) {
            preferred.removeIf([](const QString& name) { return !QFontDatabase::hasFamily(name); });
            return preferred.value(0);
        };
        QCOMPARE(sans.family(),
                 first({"MS Sans Serif", "Microsoft Sans Serif", "Liberation Sans"}));
        QCOMPARE(serif.family(), first({"Times New Roman", "Liberation Serif"}));
        QVERIFY(!sans.bold() && serif.bold());
        QCOMPARE(QFontDatabase::applicationFontFamilies(2).isEmpty(), !carried);
    }
};

QTEST_MAIN(TestUiFont)
#include "tst_uifont.moc"
