#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QTest>
#include <QTextLayout>
#include <QtMath>

#include "appdir.h"
#include "messages.h"
#include "torvel.h"

namespace {

// A label's text wrapped at words to the label's width, as the label lays it out.
struct Wrapped {
    int lines = 0;
    int widest = 0;        // the widest line
    int lastBaseline = 0;  // the depth of the last line's baseline
};

Wrapped wrap(const QFont& font, int width, const QString& text) {
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    Wrapped wrapped;
    qreal top = 0, widest = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        line.setPosition(QPointF(0, top));
        widest = qMax(widest, line.naturalTextWidth());
        wrapped.lastBaseline = qCeil(top + line.ascent());
        top += line.height();
        ++wrapped.lines;
    }
    layout.endLayout();
    wrapped.widest = qCeil(widest);
    return wrapped;
}

}  // namespace

// The main window after the worked example, as it is drawn: every caption of a label or button
// is whole in the fonts the program got, measured with the control's own font. A word-wrapped
// label's lines are each as narrow as the label; it wraps to no more lines than the label holds
// whole, and the last line's baseline lies inside it. A box of less than one line's height still
// holds its one line: only the descent below the capitals may reach its lower edge. A button's
// caption fits the room its frame leaves. The picture is kept beside the test as main-window.png.
class TestCaptions : public QObject {
    Q_OBJECT
    TORVEL* m_window = nullptr;

private slots:
    void initTestCase() {
        Messages::setHandler([](QWidget*, const QString& text) { QFAIL(qPrintable(text)); });
        (m_window = new TORVEL)->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window));
        const QStringList worked = {"Text5=13", "Text9=19", "Text10=12", "Text13=450"};
        for (const QString& pair : worked) {
            auto* box = m_window->findChild<QLineEdit*>(pair.section('=', 0, 0));
            QTest::keyClicks(box, pair.section('=', 1));
        }
        QTest::mouseClick(m_window->findChild<QPushButton*>("Gprog"), Qt::LeftButton);
        QCOMPARE(m_window->findChild<QLineEdit*>("Text16")->text(), " + 23.5");
        const QImage shot = m_window->grab().toImage();
        QCOMPARE(shot.size(), m_window->size() * shot.devicePixelRatio());
        QVERIFY(shot.save(AppFilePath(*AppDir(), "main-window.png")));
    }
    void cleanupTestCase() { delete m_window; }

    void captionsFit_data() {
        QTest::addColumn<QString>("name");
        for (QWidget* widget : m_window->findChildren<QWidget*>()) {
            const QString text = widget->property("text").toString();
            const bool caption =
                qobject_cast<QLabel*>(widget) || qobject_cast<QPushButton*>(widget);
            if (caption && !text.isEmpty())
                QTest::newRow(qPrintable(widget->objectName())) << widget->objectName();
        }
    }
    void captionsFit() {
        QFETCH(QString, name);
        QWidget* widget = m_window->findChild<QWidget*>(name);
        const QFontMetrics metrics = widget->fontMetrics();
        QString failure = QStringLiteral("%1 in %2 %3 pt: ")
                              .arg(name, QFontInfo(widget->font()).family())
                              .arg(widget->font().pointSizeF());
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            QVERIFY(label->wordWrap());
            const QRect room = label->contentsRect();
            const Wrapped text = wrap(label->font(), room.width(), label->text());
            const int wholeLines = qMax(1, room.height() / metrics.height());
            failure += QStringLiteral("%1 lines, widest %2 px, last baseline at %3 px, in %4x%5 px")
                           .arg(text.lines)
                           .arg(text.widest)
                           .arg(text.lastBaseline)
                           .arg(room.width())
                           .arg(room.height());
            QVERIFY2(text.widest <= room.width() && text.lines <= wholeLines &&
                         text.lastBaseline <= room.height(),
                     qPrintable(failure));
        } else {
            auto* button = qobject_cast<QPushButton*>(widget);
            QStyleOptionButton option;
            option.initFrom(button);
            option.text = button->text();
            const QRect room =
                button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
            const QSize needed(metrics.horizontalAdvance(button->text()), metrics.height());
            failure += QStringLiteral("needs %1x%2 px, has %3x%4 px")
                           .arg(needed.width())
                           .arg(needed.height())
                           .arg(room.width())
                           .arg(room.height());
            QVERIFY2(needed.width() <= room.width() && needed.height() <= room.height(),
                     qPrintable(failure));
        }
    }
};

QTEST_MAIN(TestCaptions)
#include "tst_captions.moc"
