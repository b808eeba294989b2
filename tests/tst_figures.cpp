#include <QFile>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTest>

#include "appdir.h"
#include "fris123.h"
#include "messages.h"

// The viewer reads the pictures the build copies here; cleanup() restores one a test replaced.
const QStringList kCycle = {"GDS001.BMP", "1k.BMP",       "2k.BMP",    "3k.BMP",
                            "4k.BMP",     "TRANS002.BMP", "YGOLP.BMP", "5k.BMP"};

class TestFigures : public QObject {
    Q_OBJECT
    QStringList m_messages;
    QString m_replaced;  // the path of a picture moved aside

    static QString path(const QString& name) { return AppFilePath(*AppDir(), name); }
    static QImage rgb(const QImage& image) { return image.convertToFormat(QImage::Format_RGB32); }
    static QImage shown(FRIS123* viewer) {
        return rgb(viewer->findChild<QLabel*>("Picture1")->pixmap().toImage());
    }
    static void pressNext(FRIS123* viewer) { viewer->findChild<QPushButton*>("RISYNOK")->click(); }

    // Moves the picture aside and, unless contents is null, writes contents in its place.
    void replace(const QString& name, const QByteArray& contents) {
        m_replaced = path(name);
        QFile::rename(m_replaced, m_replaced + ".kept");
        QFile file(m_replaced);
        if (!contents.isNull() && file.open(QIODevice::WriteOnly)) file.write(contents);
    }

private slots:
    void init() {
        m_messages.clear();
        Messages::setHandler([this](QWidget*, const QString& text) { m_messages << text; });
    }

    void cleanup() {
        if (m_replaced.isEmpty()) return;
        QFile::remove(m_replaced);
        QFile::rename(m_replaced + ".kept", m_replaced);
        m_replaced.clear();
    }

    // Each picture is a 24-bit bitmap that fits the box, its corner under the buttons empty.
    void presses_cycleThroughEightPictures() {
        QImage corner(90, 110, QImage::Format_RGB32);
        corner.fill(Qt::white);
        FRIS123 viewer({});
        for (const QString& name : kCycle + QStringList{kCycle[0]}) {
            pressNext(&viewer);
            QFile file(path(name));
            QVERIFY(file.open(QIODevice::ReadOnly) && file.read(30).at(28) == 24);
            const QImage image = rgb(QImage(file.fileName()));
            QCOMPARE(shown(&viewer), image);
            QVERIFY(image.width() <= 585 && image.height() <= 396);
            QCOMPARE(image.copy(0, 0, 90, 110), corner);
        }
        QCOMPARE(viewer.figureIndex(), 1);
    }

    void unreadablePicture_data() {
        QTest::addColumn<QByteArray>("contents");  // null: the file is missing
        QTest::newRow("missing file") << QByteArray();
        QTest::newRow("not a picture") << QByteArray("this is no bitmap\r\n");
    }

    // The box and FigureIndex stay, so every press asks for the same file and names it.
    void unreadablePicture() {
        QFETCH(QByteArray, contents);
        FRIS123 viewer({});
        pressNext(&viewer);
        const QImage first = shown(&viewer);
        replace("1k.BMP", contents);
        for (int i = 0; i < 2; ++i) pressNext(&viewer);
        QCOMPARE(shown(&viewer), first);
        QVERIFY(m_messages.size() == 2 && m_messages.filter("1k.BMP").size() == 2);
    }

    // Green with a red block from (560, 380): the box cuts it off unscaled, buttons on top.
    void largePicture_isCutOffUnderTheButtons() {
        QImage large(700, 500, QImage::Format_RGB32);
        large.fill(Qt::green);
        QPainter(&large).fillRect(560, 380, 140, 120, Qt::red);
        replace("GDS001.BMP", {});
        QVERIFY(large.save(path("GDS001.BMP"), "BMP"));
        FRIS123 viewer({});
        pressNext(&viewer);
        QLabel* box = viewer.findChild<QLabel*>("Picture1");
        const QImage grabbed = rgb(box->grab().toImage());
        QCOMPARE(grabbed.size(), QSize(585, 396));
        QCOMPARE(grabbed.copy(100, 120, 485, 276), large.copy(100, 120, 485, 276));
        QCOMPARE(box->findChildren<QPushButton*>().size(), 2);
        for (QPushButton* button : box->findChildren<QPushButton*>())
            QVERIFY(grabbed.pixel(button->geometry().center()) != qRgb(0, 255, 0));
    }
};

QTEST_MAIN(TestFigures)
#include "tst_figures.moc"
