#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include "appdir.h"
#include "fris123.h"
#include "messages.h"
#include "torvel.h"

// The figure viewer as the main window drives it: loaded at start-up, shown again by "Рисунок"
// once Text5 has been edited, loaded afresh only when it was closed. The pictures are the ones
// the build draws, copied into the test's program directory.
namespace {

QLabel* picture(FRIS123* viewer) {
    return viewer->findChild<QLabel*>(QStringLiteral("Picture1"));
}

void press(QWidget* window, const char* button) {
    auto* b = window->findChild<QPushButton*>(QLatin1String(button));
    QVERIFY2(b, button);
    QTest::mouseClick(b, Qt::LeftButton);
}

void unlock(TORVEL& main) {
    auto* text5 = main.findChild<QLineEdit*>(QStringLiteral("Text5"));
    QVERIFY(text5);
    QTest::keyClicks(text5, QStringLiteral("13"));
}

QImage shown(FRIS123* viewer) {
    return picture(viewer)->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
}

}  // namespace

class TestFiguresFromMain : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        Messages::setHandler([](QWidget*, const QString& text) { QFAIL(qPrintable(text)); });
    }
    void startUp_viewerVisibleBehindMain();
    void risynok_loadsClosedViewerOnceEdited();
    void risynok_onOpenViewer_keepsItsPlace();
    void exit_thenRisynok_restartsCycle();
};

void TestFiguresFromMain::startUp_viewerVisibleBehindMain() {
    TORVEL main;
    main.show();
    QVERIFY(QTest::qWaitForWindowActive(&main));
    FRIS123* viewer = main.viewerWindow();
    QVERIFY(viewer && viewer->isVisible());
    QVERIFY(picture(viewer)->pixmap().isNull());
    QCOMPARE(viewer->figureIndex(), 0);
    // The main window opened after the viewer and is the active one.
    QCOMPARE(QApplication::activeWindow(), &main);
}

void TestFiguresFromMain::risynok_loadsClosedViewerOnceEdited() {
    TORVEL main;
    main.show();
    QPointer<FRIS123> viewer = main.viewerWindow();
    press(viewer, "RISYNOK");
    viewer->close();  // the title bar's close box: unloaded, the main window stays
    QTRY_VERIFY(!main.viewerWindow());
    press(&main, "RISYNOK");  // nothing edited yet: no effect
    QVERIFY(!main.viewerWindow());
    unlock(main);
    press(&main, "RISYNOK");
    viewer = main.viewerWindow();
    QVERIFY(viewer && viewer->isVisible());
    QCOMPARE(viewer->figureIndex(), 0);
    QVERIFY(picture(viewer)->pixmap().isNull());
}

void TestFiguresFromMain::risynok_onOpenViewer_keepsItsPlace() {
    TORVEL main;
    main.show();
    unlock(main);
    QPointer<FRIS123> viewer = main.viewerWindow();
    press(viewer, "RISYNOK");
    press(viewer, "RISYNOK");
    const QImage before = shown(viewer);
    press(&main, "RISYNOK");
    QCOMPARE(main.viewerWindow(), viewer.data());
    QCOMPARE(viewer->figureIndex(), 2);
    QCOMPARE(shown(viewer), before);
}

void TestFiguresFromMain::exit_thenRisynok_restartsCycle() {
    TORVEL main;
    main.show();
    unlock(main);
    QPointer<FRIS123> viewer = main.viewerWindow();
    press(viewer, "RISYNOK");
    press(viewer, "cmd1");
    QTRY_VERIFY(viewer.isNull());
    QTRY_COMPARE(QApplication::activeWindow(), &main);
    press(&main, "RISYNOK");
    viewer = main.viewerWindow();
    QVERIFY(viewer);
    press(viewer, "RISYNOK");
    const QImage first(AppFilePath(AppDir(), QStringLiteral("GDS001.BMP")));
    QCOMPARE(shown(viewer), first.convertToFormat(QImage::Format_RGB32));
}

QTEST_MAIN(TestFiguresFromMain)
#include "tst_figures_from_main.moc"
