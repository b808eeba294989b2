// SPDX-License-Identifier: GPL-3.0-or-later
#include <unistd.h>

#include <QFontDatabase>
#include <QFontInfo>
#include <QTemporaryFile>
#include <QTest>
#include <cstdio>

#include "messages.h"
#include "uifont.h"

// Each face is the first the program prefers that the system has; the carried Liberation files are
// registered only where the system lacks Liberation, and then all three (ids 0 to 2).
// The test runs with the system's fonts and again with DejaVu only.
class TestUiFont : public QObject {
    Q_OBJECT
    const bool m_carried = !QFontDatabase::hasFamily(u"Liberation Sans"_qs) ||  // before UiFont
                           !QFontDatabase::hasFamily(u"Liberation Serif"_qs);

private slots:
    // Where no face can write the windows' words, the first font asked for says so once, on
    // standard error and in a message; the test's second build runs with no fonts at all.
    void missingFonts() {
#ifdef TORVEL_TEST_NO_FONTS
        const int expected = 1;
#else
        const int expected = 0;
#endif
        QStringList messages;
        Messages::setHandler([&messages](QWidget*, const QString& text) { messages << text; });
        QTemporaryFile log;
        QVERIFY(log.open());
        std::fflush(stderr);
        const int saved = ::dup(2);
        ::dup2(log.handle(), 2);
        for (const UiFace face : {UiFace::SansSerif, UiFace::Serif})
            for (const bool bold : {false, true}) UiFont(face, 9.75, bold);
        std::fflush(stderr);
        ::dup2(saved, 2);
        ::close(saved);
        QTest::qWait(10);
        Messages::setHandler({});
        const QString message = MissingFontsMessage();
        QCOMPARE(messages, QStringList(expected, message));
        QVERIFY(log.seek(0));
        QCOMPARE(QString::fromLocal8Bit(log.readAll()).count(message), expected);
    }

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
#ifdef TORVEL_TEST_NO_FONTS
        QSKIP("no face to choose");
#endif
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
