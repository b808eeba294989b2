// Each window's controls against the layout it is built from: every control where its description
// puts it, with its parent, text and font, the windows' sizes and captions, and the focus order.

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "flin1.h"
#include "fris123.h"
#include "layout.h"
#include "torvel.h"

using namespace Qt::StringLiterals;

namespace {

enum class Window { Torvel, Flin1, Fris123 };

const WindowLayout& layoutOf(Window w) {
    return w == Window::Torvel  ? TorvelLayout()
           : w == Window::Flin1 ? Flin1Layout()
                                : Fris123Layout();
}

std::unique_ptr<QWidget> open(Window w) {
    switch (w) {
        case Window::Torvel:
            return std::make_unique<TORVEL>();
        case Window::Flin1:
            return std::make_unique<FLIN1>(QString(), std::function<void()>());
        case Window::Fris123:
            break;
    }
    return std::make_unique<FRIS123>(std::function<void()>());
}

}  // namespace

Q_DECLARE_METATYPE(Window)

class TestLayout : public QObject {
    Q_OBJECT
    std::unique_ptr<QWidget> m_windows[3];

    QWidget* window(Window w) {
        auto& slot = m_windows[int(w)];
        if (!slot) {
            slot = open(w);
            slot->setAttribute(Qt::WA_DeleteOnClose, false);
        }
        return slot.get();
    }

    void addWindows() {
        QTest::addColumn<Window>("window");
        QTest::newRow("RASCHET") << Window::Torvel;
        QTest::newRow("CYRC1") << Window::Flin1;
        QTest::newRow("RIS123") << Window::Fris123;
    }

private slots:
    void cleanupTestCase() {
        // The main window deletes the windows it opened itself.
        for (auto& w : m_windows) w.reset();
    }

    // The pixel rule: 15 twips to a pixel, each value rounded to the nearest.
    void twipsToPixels() {
        QCOMPARE(TwipsToPixels(5935), 396);
        QCOMPARE(TwipsToPixels(3020), 201);
        QCOMPARE(TwipsToPixels(3533), 236);
        QCOMPARE(TwipsToPixels(-22), -1);
    }

    void windows_data() { addWindows(); }
    void windows() {
        QFETCH(Window, window);
        const WindowLayout& layout = layoutOf(window);
        QWidget* w = this->window(window);
        QCOMPARE(w->windowTitle(), QString::fromUtf8(layout.caption));
        QCOMPARE(w->size(), layout.clientPixels());
        if (layout.fixedPosition) QCOMPARE(w->geometry().topLeft(), layout.screenPixels());
        // Tab moves through the focusable controls in their order, and round again.
        w->show();
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        const std::vector<const char*> order = layout.focusOrder();
        QVERIFY(!order.empty());
        for (std::size_t i = 0; i < order.size(); ++i) {
            QWidget* control = w->findChild<QWidget*>(QString::fromLatin1(order[i]));
            control->setFocus();
            QTest::keyClick(control, Qt::Key_Tab);
            QCOMPARE(w->focusWidget()->objectName(),
                     QString::fromLatin1(order[(i + 1) % order.size()]));
        }
    }

    void controls_data() {
        QTest::addColumn<Window>("window");
        QTest::addColumn<QString>("name");
        for (Window window : {Window::Torvel, Window::Flin1, Window::Fris123})
            for (const Control& c : layoutOf(window).controls)
                QTest::addRow("%s %s", layoutOf(window).caption, c.name)
                    << window << QString::fromLatin1(c.name);
    }
    void controls() {
        QFETCH(Window, window);
        QFETCH(QString, name);
        const WindowLayout& layout = layoutOf(window);
        const Control& c = *layout.control(name.toLatin1().constData());
        QWidget* w = this->window(window);
        QWidget* control = w->findChild<QWidget*>(name);
        QVERIFY(control);
        QCOMPARE(control->parentWidget()->objectName(),
                 c.parent ? QString::fromLatin1(c.parent) : w->objectName());
        if (c.kind == ControlKind::Line) {
            // The line's frame holds both end points and is as thick as the line.
            const QRect ends(TwipsToPixels(QPoint(c.left, c.top)),
                             TwipsToPixels(QPoint(c.width, c.height)));
            QVERIFY(control->geometry().contains(ends.normalized()));
            QCOMPARE(qMin(control->width(), control->height()), c.lineWidth);
            return;
        }
        QCOMPARE(control->geometry(), c.pixelRect());
        QCOMPARE(control->property("text").toString(), QString::fromUtf8(c.text));
        // Every box and button has a name a screen reader can say; each control its tooltip.
        if (c.kind == ControlKind::TextBox || c.kind == ControlKind::Button)
            QVERIFY(c.accessibleName && *c.accessibleName);
        QCOMPARE(control->accessibleName(), QString::fromUtf8(c.accessibleName));
        QCOMPARE(control->toolTip(), QString::fromUtf8(c.toolTip));
        if (c.font == FontName::Default) return;
        QCOMPARE(control->font().pointSizeF(), FontOf(c.font).pointSize);
        QCOMPARE(control->font().bold(), FontOf(c.font).bold);
    }

    // Every input box explains its unit and signs where the installer types.
    void inputHelp_data() {
        QTest::addColumn<Window>("window");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("says");
        const QString minutes = u"Минуты вводят с тем же знаком, что и градусы"_s;
        const QString example = u"74°30′ з.д. — это «-74» и «-30»"_s;
        const QString longitude = u"восточная — плюс, западная — минус"_s;
        const QString latitude = u"северная — плюс, южная — минус"_s;
        auto row = [](const char* name, const QStringList& says, Window w = Window::Torvel) {
            QTest::newRow(name) << w << QString::fromLatin1(name) << says;
        };
        row("Text1", {u"Долгота места, градусы"_s, longitude, minutes, example});
        row("Text2", {u"Долгота места, минуты"_s, minutes, example});
        row("Text3", {u"Широта места, градусы"_s, latitude, minutes, example});
        row("Text4", {u"Широта места, минуты"_s, minutes, example});
        row("Text5", {u"Долгота спутника 1"_s, longitude, minutes, example});
        row("Text6", {u"Долгота спутника 1, минуты"_s, minutes, example});
        row("Text9", {u"Долгота спутника 2"_s, longitude, minutes, example});
        row("Text10", {u"Долгота спутника 2, минуты"_s, minutes, example});
        row("Text13", {u"Фокусное расстояние антенны, в миллиметрах"_s});
        row("POZIA", {u"в градусах"_s, u"плюс — по часовой стрелке, минус — против"_s},
            Window::Flin1);
    }
    void inputHelp() {
        QFETCH(Window, window);
        QFETCH(QString, name);
        QFETCH(QStringList, says);
        const QString tip = this->window(window)->findChild<QLineEdit*>(name)->toolTip();
        for (const QString& part : says) QVERIFY2(tip.contains(part), qPrintable(tip));
    }
};

QTEST_MAIN(TestLayout)
#include "tst_layout.moc"
