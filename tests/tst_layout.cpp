// SPDX-License-Identifier: GPL-3.0-or-later
// Each window against its layout, every caption whole in the fonts got (also with DejaVu only).

#include <QLabel>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QTest>
#include <QWindow>
#include <algorithm>
#include <memory>

#include "flin1.h"
#include "fris123.h"
#include "layout.h"
#include "torvel.h"

using namespace Qt::StringLiterals;

namespace {

enum class Window { Torvel, Flin1, Fris123 };
using W = Window;

// Each control's place in twips (a line's two ends), apart from the layout the windows are built
// from, so that a number changed there shows.
struct Place {
    Window window;
    const char* name;
    int left, top, width, height;
};
// clang-format off
constexpr Place kPlaces[] = {
    {W::Torvel, "T1", 1680, 240, 3615, 255},        {W::Torvel, "T2", 1680, 600, 3615, 255},
    {W::Torvel, "Line1", 1800, 960, 5160, 960},     {W::Torvel, "Line2", 1800, 120, 5160, 120},
    {W::Torvel, "Line3", 1800, 960, 1800, 120},     {W::Torvel, "Line4", 5160, 120, 5160, 960},
    {W::Torvel, "Gprog", 720, 120, 855, 375},       {W::Torvel, "RISYNOK", 720, 720, 855, 375},
    {W::Torvel, "cmdExit", 5400, 360, 615, 495},    {W::Torvel, "NAPR", 480, 4440, 1395, 315},
    {W::Torvel, "T3", 240, 1320, 2055, 735},        {W::Torvel, "Label1", 2400, 1080, 3735, 255},
    {W::Torvel, "Text1", 2640, 1320, 855, 285},     {W::Torvel, "Text2", 4440, 1320, 975, 285},
    {W::Torvel, "T4", 2280, 1560, 3495, 255},       {W::Torvel, "Text3", 2640, 1800, 855, 285},
    {W::Torvel, "Text4", 4440, 1800, 975, 285},     {W::Torvel, "Line6", 2280, 2040, 2280, 1200},
    {W::Torvel, "Label6", 360, 2280, 3495, 255},    {W::Torvel, "Text13", 4440, 2280, 975, 285},
    {W::Torvel, "T5", 240, 2640, 1815, 735},        {W::Torvel, "T6", 2400, 2760, 3615, 255},
    {W::Torvel, "Text5", 2640, 3000, 855, 285},     {W::Torvel, "Text6", 4440, 3000, 975, 285},
    {W::Torvel, "Label2", 240, 3480, 2175, 735},    {W::Torvel, "Label3", 2400, 3480, 3375, 375},
    {W::Torvel, "Text9", 2640, 3720, 855, 285},     {W::Torvel, "Text10", 4440, 3720, 975, 285},
    {W::Torvel, "Line5", 240, 4320, 6360, 4320},    {W::Torvel, "T7", 2040, 4440, 2175, 375},
    {W::Torvel, "T8", 240, 4920, 1695, 255},        {W::Torvel, "Text7", 1920, 4800, 1215, 360},
    {W::Torvel, "T9", 3240, 4920, 1575, 375},       {W::Torvel, "Text8", 4800, 4800, 1215, 330},
    {W::Torvel, "Label4", 240, 5400, 1695, 375},    {W::Torvel, "Text11", 1920, 5280, 1215, 375},
    {W::Torvel, "Label5", 3240, 5400, 1575, 375},   {W::Torvel, "Text12", 4800, 5280, 1215, 375},
    {W::Torvel, "Line7", 480, 5760, 6360, 5760},    {W::Torvel, "Label7", 240, 5760, 6255, 255},
    {W::Torvel, "Text14", 480, 6120, 2175, 375},    {W::Torvel, "Text16", 2760, 6120, 855, 375},
    {W::Torvel, "Text15", 3720, 6120, 2295, 375},   {W::Torvel, "Label8", 2280, 6600, 1815, 255},
    {W::Torvel, "Image3", 1200, 6600, 675, 450},    {W::Torvel, "Image2", 4440, 6600, 675, 450},
    // Added beside the seed's controls: the town and the satellites by name.
    {W::Torvel, "GOROD", 5520, 1320, 1035, 285},    {W::Torvel, "SPUTNIK1", 5520, 3000, 1035, 285},
    {W::Torvel, "SPUTNIK2", 5520, 3720, 1035, 285},
    {W::Torvel, "LIST", 5400, 6540, 1035, 330},
    {W::Flin1, "START", 120, 120, 735, 375},        {W::Flin1, "CMDEXIT", 120, 2280, 615, 375},
    {W::Flin1, "POZIA", 120, 1680, 615, 375},       {W::Flin1, "Label1", 120, 720, 615, 855},
    {W::Fris123, "Picture1", 0, 0, 8775, 5935},     {W::Fris123, "cmd1", 240, 120, 975, 375},
    {W::Fris123, "RISYNOK", 240, 720, 975, 375},
};
// clang-format on

// Each FontName's point size and weight; Default is the platform's own.
constexpr std::pair<double, bool> kFonts[] = {
    {0, false}, {9.75, true}, {8.25, false}, {8.25, true}, {9.75, false}, {12, true}, {12, true}};

}  // namespace

Q_DECLARE_METATYPE(Window)

class TestLayout : public QObject {
    Q_OBJECT
    std::unique_ptr<QWidget> m_windows[3];
    const WindowLayout* m_layouts[3] = {&TorvelLayout(), &Flin1Layout(), &Fris123Layout()};

private slots:
    void initTestCase() {
        m_windows[int(W::Torvel)] = std::make_unique<TORVEL>();
        m_windows[int(W::Flin1)] = std::make_unique<FLIN1>(DataFilePlace(), nullptr);
        m_windows[int(W::Fris123)] = std::make_unique<FRIS123>(nullptr);
        for (auto& w : m_windows) w->show();
    }

    // The client area (at 0,0 where the platform places it), the picture box's controls, Tab order.
    void windows_data() {
        QTest::addColumn<Window>("window");
        QTest::addColumn<QRect>("client");
        QTest::addColumn<QString>("onPicture");
        QTest::addColumn<QString>("focus");
        QTest::newRow("RASCHET") << W::Torvel << QRect(0, 0, 445, 462) << QString()
                                 << u"Text1 Text2 Text3 Text4 Text5 Text6 Text7 Text8 "
                                    u"Gprog RISYNOK cmdExit NAPR Text9 Text10 Text11 Text12 "
                                    u"Text13 Text14 Text15 Text16 GOROD SPUTNIK1 SPUTNIK2"_s;
        QTest::newRow("CYRC1") << W::Flin1 << QRect(0, 0, 334, 221) << QString()
                               << u"START CMDEXIT POZIA"_s;
        QTest::newRow("RIS123") << W::Fris123 << QRect(124, 102, 424, 333) << u"cmd1 RISYNOK"_s
                                << u"Picture1 cmd1 RISYNOK"_s;
    }
    void windows() {
        QFETCH(Window, window);
        QFETCH(QRect, client);
        QFETCH(QString, onPicture);
        QFETCH(QString, focus);
        QWidget* w = m_windows[int(window)].get();
        QCOMPARE(w->windowTitle(), QString::fromLatin1(QTest::currentDataTag()));
        // Every control has a place; the size stays, even resized from outside, with no maximise.
        QCOMPARE(std::count_if(std::begin(kPlaces), std::end(kPlaces),
                               [window](const Place& p) { return p.window == window; }),
                 std::ptrdiff_t(m_layouts[int(window)]->controls.size()));
        w->windowHandle()->resize(client.size() * 2);
        QTRY_COMPARE(w->windowHandle()->size(), client.size());
        QCOMPARE(w->maximumSize(), client.size());
        QVERIFY(!w->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        if (!client.topLeft().isNull()) QCOMPARE(w->geometry(), client);
        for (const QString& name : onPicture.split(u' ', Qt::SkipEmptyParts))
            QCOMPARE(w->findChild<QWidget*>(name)->parentWidget(),
                     w->findChild<QWidget*>(u"Picture1"_s));
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        const QStringList order = focus.split(u' ');
        for (qsizetype i = 0; i < order.size(); ++i) {
            w->findChild<QWidget*>(order[i])->setFocus();
            QTest::keyClick(w->focusWidget(), Qt::Key_Tab);
            QCOMPARE(w->focusWidget()->objectName(), order[(i + 1) % order.size()]);
        }
    }

    void controls_data() {
        QTest::addColumn<int>("place");  // in kPlaces
        for (const Place& p : kPlaces)
            QTest::addRow("%s %s", m_layouts[int(p.window)]->caption, p.name) << int(&p - kPlaces);
    }
    // Each control at its place (a line's frame as thick as the line), its texts and font.
    void controls() {
        QFETCH(int, place);
        const Place& p = kPlaces[place];
        const Control* c = m_layouts[int(p.window)]->control(p.name);
        QVERIFY(c);
        QWidget* control = m_windows[int(p.window)]->findChild<QWidget*>(QLatin1String(p.name));
        QVERIFY(control);
        const QPoint first = TwipsToPixels(QPoint(p.left, p.top));
        const QPoint second = TwipsToPixels(QPoint(p.width, p.height));
        const QRect ends = QRect(first, second).normalized();
        const int half = c->lineWidth / 2;
        if (c->kind == ControlKind::Line)
            QCOMPARE(control->geometry(), ends.height() == 1 ? ends.adjusted(0, -half, 0, half)
                                                             : ends.adjusted(-half, 0, half, 0));
        else
            QCOMPARE(control->geometry(), QRect(first, QSize(second.x(), second.y())));
        const QString text = control->property("text").toString();
        QCOMPARE(text, QString::fromUtf8(c->text));
        QCOMPARE(control->accessibleName(), QString::fromUtf8(c->accessibleName));
        QCOMPARE(control->toolTip(), QString::fromUtf8(c->toolTip));
        if (c->kind == ControlKind::TextBox || c->kind == ControlKind::Button)
            QVERIFY(!control->accessibleName().isEmpty());
        if (c->font != FontName::Default)
            QCOMPARE(std::pair(control->font().pointSizeF(), control->font().bold()),
                     kFonts[int(c->font)]);

        // The caption whole: a label's wrapped to its width in the lines it holds (one line's
        // descent may pass the lower edge); a button's in the room its frame leaves.
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
