// SPDX-License-Identifier: GPL-3.0-or-later
#include <unistd.h>

#include <QFontDatabase>
#include <QFontInfo>
#include <QTemporaryFile>
#include <QTest>
#include <QWidget>
#include <cstdio>

#include "controls.h"
#include "messages.h"
#include "uifont.h"

Q_DECLARE_METATYPE(const WindowLayout*)

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

    // Every control that draws text, in the face the program chose for it: the layout's, or the
    // sans face where the layout gives none (the figure viewer's buttons), never the font
    // system's default face.
    void windowFaces_data() {
        QTest::addColumn<const WindowLayout*>("layout");
        QTest::newRow("RASCHET") << &TorvelLayout();
        QTest::newRow("CYRC1") << &Flin1Layout();
        QTest::newRow("RIS123") << &Fris123Layout();
    }
    void windowFaces() {
        if (kMissingFontReports) QSKIP("no face to choose");
        QFETCH(const WindowLayout*, layout);
        const QString sans = QFontInfo(UiFont(UiFace::SansSerif, 8.25, false)).family(),
                      serif = QFontInfo(UiFont(UiFace::Serif, 12, true)).family();
        QVERIFY(sans != serif);
        QWidget window;
        BuildWindow(&window, *layout);
        for (const Control& c : layout->controls) {
            if (c.kind != ControlKind::Label && c.kind != ControlKind::Button &&
                c.kind != ControlKind::TextBox)
                continue;
            const auto* widget = window.findChild<QWidget*>(QString::fromLatin1(c.name));
            const FontName name = c.font == FontName::Default ? layout->font : c.font;
            QCOMPARE(QFontInfo(widget->font()).family(),
                     name != FontName::Default && FontOf(name).serif ? serif : sans);
        }
    }
};

QTEST_MAIN(TestUiFont)
#include "tst_uifont.moc"
