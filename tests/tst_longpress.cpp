// SPDX-License-Identifier: GPL-3.0-or-later
#include <QLineEdit>
#include <QPointingDevice>
#include <QTest>
#include <QToolTip>

#include "longpress.h"

using namespace Qt::StringLiterals;

// A finger held on a box opens its tooltip, as the mouse resting on it does; a tap, a finger that
// moves, or a mouse press does not.
class TestLongPress : public QObject {
    Q_OBJECT

private slots:
    void hold_data() {
        QTest::addColumn<bool>("touch");
        QTest::addColumn<int>("heldMs");
        QTest::addColumn<int>("movedPixels");
        QTest::addColumn<bool>("shown");
        QTest::newRow("finger held") << true << 900 << 0 << true;
        QTest::newRow("tap") << true << 100 << 0 << false;
        QTest::newRow("finger sliding") << true << 900 << 40 << false;
        QTest::newRow("mouse held") << false << 900 << 0 << false;
    }
    void hold() {
        QFETCH(bool, touch);
        QFETCH(int, heldMs);
        QFETCH(int, movedPixels);
        QFETCH(bool, shown);
        // The tooltip of the row before goes for good: hiding it takes its own time.
        QToolTip::hideText();
        QTRY_VERIFY(!QToolTip::isVisible());
        QTest::qWait(400);

        LongPressToolTips toolTips;
        QWidget window;
        auto* box = new QLineEdit(&window);
        box->setToolTip(u"долгота места, градусы"_s);
        box->setGeometry(10, 10, 120, 24);
        window.resize(200, 80);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        const QPoint at(20, 12);
        static QPointingDevice* screen = QTest::createTouchDevice();
        if (touch) {
            QTest::touchEvent(&window, screen).press(0, box->mapTo(&window, at), &window);
            if (movedPixels)
                QTest::touchEvent(&window, screen)
                    .move(0, box->mapTo(&window, at + QPoint(movedPixels, 0)), &window);
            QTest::qWait(heldMs);
            QTest::touchEvent(&window, screen).release(0, box->mapTo(&window, at), &window);
        } else {
            QTest::mousePress(box, Qt::LeftButton, {}, at);
            QTest::qWait(heldMs);
            QTest::mouseRelease(box, Qt::LeftButton, {}, at);
        }
        QTest::qWait(50);
        QCOMPARE(QToolTip::isVisible(), shown);
        if (shown) QCOMPARE(QToolTip::text(), box->toolTip());
    }
};

QTEST_MAIN(TestLongPress)
#include "tst_longpress.moc"
