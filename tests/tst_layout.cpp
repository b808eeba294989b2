// SPDX-License-Identifier: GPL-3.0-or-later
// Each window against the layout it is built from, and every caption whole in the fonts the
// program got: the test runs again with DejaVu only, where the carried Liberation files stand in.

#include <QLabel>
#include <QPushButton>
#include <QStyleOptionButton>
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

// The point size and weight of each font name, by its place in FontName; Default is the
// platform's own.
constexpr std::pair<double, bool> kFonts[] = {
    {0, false}, {9.75, true}, {8.25, false}, {8.25, true}, {9.75, false}, {12, true}, {12, true}};

}  // namespace

Q_DECLARE_METATYPE(Window)

class TestLayout : public QObject {
    Q_OBJECT
    std::unique_ptr<QWidget> m_windows[3];

    QWidget* window(Window w) {
        std::unique_ptr<QWidget>& slot = m_windows[int(w)];
        if (slot) return slot.get();
        if (w == Window::Torvel) slot = std::make_unique<TORVEL>();
        if (w == Window::Flin1) slot = std::make_unique<FLIN1>(DataFilePlace(), nullptr);
        if (w == Window::Fris123) slot = std::make_unique<FRIS123>(nullptr);
        slot->setAttribute(Qt::WA_DeleteOnClose, false);
        slot->show();
        return slot.get();
    }

private slots:
    void cleanupTestCase() {
        for (auto& w : m_windows) w.reset();
    }

    // The client size, the fixed start-up position (null for the platform's), the controls on
    // the picture box, and the focus order: Tab moves through it and round again.
    void windows_data() {
        QTest::addColumn<Window>("window");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QPoint>("position");
        QTest::addColumn<QStringList>("onPicture");
        QTest::addColumn<QStringList>("focus");
        QTest::newRow("RASCHET") << Window::Torvel << QSize(445, 462) << QPoint() << QStringList()
                                 << QStringList{"Text1",   "Text2",  "Text3",  "Text4",  "Text5",
                                                "Text6",   "Text7",  "Text8",  "Gprog",  "RISYNOK",
                                                "cmdExit", "NAPR",   "Text9",  "Text10", "Text11",
                                                "Text12",  "Text13", "Text14", "Text15", "Text16"};
        QTest::newRow("CYRC1") << Window::Flin1 << QSize(334, 221) << QPoint() << QStringList()
                               << QStringList{"START", "CMDEXIT", "POZIA"};
        QTest::newRow("RIS123") << Window::Fris123 << QSize(424, 333) << QPoint(124, 102)
                                << QStringList{"cmd1", "RISYNOK"}
                                << QStringList{"Picture1", "cmd1", "RISYNOK"};
    }
    void windows() {
        QFETCH(Window, window);
        QFETCH(QSize, size);
        QFETCH(QPoint, position);
        QFETCH(QStringList, onPicture);
        QFETCH(QStringList, focus);
        QWidget* w = this->window(window);
        QCOMPARE(w->windowTitle(), QString::fromLatin1(QTest::currentDataTag()));
        QCOMPARE(w->size(), size);
        if (!position.isNull()) QCOMPARE(w->geometry().topLeft(), position);
        for (const QString& name : onPicture)
            QCOMPARE(w->findChild<QWidget*>(name)->parentWidget(),
                     w->findChild<QWidget*>(u"Picture1"_s));
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        for (qsizetype i = 0; i < focus.size(); ++i) {
            w->findChild<QWidget*>(focus[i])->setFocus();
            QTest::keyClick(w->focusWidget(), Qt::Key_Tab);
            QCOMPARE(w->focusWidget()->objectName(), focus[(i + 1) % focus.size()]);
        }
    }

    void controls_data() {
        QTest::addColumn<Window>("window");
        QTest::addColumn<QString>("name");
        for (Window w : {Window::Torvel, Window::Flin1, Window::Fris123})
            for (const Control& c : layoutOf(w).controls)
                QTest::addRow("%s %s", layoutOf(w).caption, c.name)
                    << w << QString::fromLatin1(c.name);
    }
    // Each control where its description puts it (a line's frame as thick as the line, along its
    // middle), on its parent, with its text, accessible name, tooltip and font.
    void controls() {
        QFETCH(Window, window);
        QFETCH(QString, name);
        const Control& c = *layoutOf(window).control(name.toLatin1().constData());
        QWidget* w = this->window(window);
        QWidget* control = w->findChild<QWidget*>(name);
        QVERIFY(control);
        QCOMPARE(control->parentWidget(),
                 c.parent ? w->findChild<QWidget*>(QLatin1String(c.parent)) : w);
        const QRect ends =
            QRect(TwipsToPixels(QPoint(c.left, c.top)), TwipsToPixels(QPoint(c.width, c.height)))
                .normalized();
        const int half = c.lineWidth / 2;
        if (c.kind == ControlKind::Line)
            QCOMPARE(control->geometry(), ends.height() == 1 ? ends.adjusted(0, -half, 0, half)
                                                             : ends.adjusted(-half, 0, half, 0));
        else
            QCOMPARE(control->geometry(), c.pixelRect());
        const QString text = control->property("text").toString();
        QCOMPARE(text, QString::fromUtf8(c.text));
        QCOMPARE(control->accessibleName(), QString::fromUtf8(c.accessibleName));
        QCOMPARE(control->toolTip(), QString::fromUtf8(c.toolTip));
        if (c.kind == ControlKind::TextBox || c.kind == ControlKind::Button)
            QVERIFY(!control->accessibleName().isEmpty());
        if (c.font != FontName::Default) {
            QCOMPARE(control->font().pointSizeF(), kFonts[int(c.font)].first);
            QCOMPARE(control->font().bold(), kFonts[int(c.font)].second);
        }

        // The caption is whole in the control's font: a label's wrapped at blanks to its width,
        // in as many lines as it holds whole (a one-line caption may let its descent reach past
        // the lower edge); a button's in the room its frame leaves.
        const QFontMetrics metrics = control->fontMetrics();
        QSize need, room;
        if (auto* label = qobject_cast<QLabel*>(control); label && !text.isEmpty()) {
            QVERIFY(label->wordWrap());
            room = label->contentsRect().size();
            const auto wrap = [&](const QString& t) {
                return metrics.boundingRect(QRect(QPoint(), room), Qt::TextWordWrap, t);
            };
            const QRect wrapped = wrap(text);
            const int lines = wrapped.height() / wrap(u"X"_s).height();
            need = QSize(wrapped.width(), lines == 1 ? metrics.ascent() : lines * metrics.height());
        } else if (auto* button = qobject_cast<QPushButton*>(control)) {
            QStyleOptionButton option;
            option.initFrom(button);
            option.text = text;
            room = button->style()
                       ->subElementRect(QStyle::SE_PushButtonContents, &option, button)
                       .size();
            need = QSize(metrics.horizontalAdvance(text), metrics.height());
        }
        QCOMPARE(need.boundedTo(room), need);
    }
};

QTEST_MAIN(TestLayout)
#include "tst_layout.moc"
