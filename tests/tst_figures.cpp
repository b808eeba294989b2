#include <sys/stat.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTest>
#include <QtEndian>

#include "appdir.h"
#include "figurepicture.h"
#include "fris123.h"
#include "messages.h"
#include "pipewatch.h"

using namespace Qt::StringLiterals;

// The viewer reads the pictures the build copies here; cleanup() restores one a test replaced.
const QStringList kCycle = {"GDS001.BMP", "1k.BMP",       "2k.BMP",    "3k.BMP",
                            "4k.BMP",     "TRANS002.BMP", "YGOLP.BMP", "5k.BMP"};

// What a test puts in place of a picture.
enum class Stand { Nothing, Bytes, Pipe, Folder };
Q_DECLARE_METATYPE(Stand)

namespace {

// A 9 x 5 picture as Qt writes it to a bitmap: 24 bits per pixel for colours, 4 for a few
// indexed colours, 1 for black and white. Nine pixels make rows that need padding at every depth.
QByteArray bitmap(QImage::Format format) {
    QImage image(9, 5, format);
    if (format == QImage::Format_Indexed8) {
        image.setColorTable({qRgb(200, 0, 0), qRgb(0, 200, 0), qRgb(0, 0, 200)});
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 9; ++x) image.setPixel(x, y, uint((x + y) % 3));
    } else {
        image.fill(1);
        for (int x = 0; x < 9; x += 2) image.setPixel(x, x % 5, 0);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

// The same bitmap stored from the top row down: the height negative, the rows reversed.
QByteArray topDown(QByteArray bytes) {
    const qint32 offset = qFromLittleEndian<qint32>(bytes.constData() + 10);
    const qint32 height = qFromLittleEndian<qint32>(bytes.constData() + 22);
    const qsizetype row = (bytes.size() - offset) / height;
    QByteArray rows;
    for (qint32 y = height - 1; y >= 0; --y) rows += bytes.mid(offset + y * row, row);
    qToLittleEndian<qint32>(-height, bytes.data() + 22);
    return bytes.left(offset) + rows;
}

}  // namespace

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

    // Moves the picture aside and puts the stand-in in its place.
    void replace(const QString& name, Stand stand, const QByteArray& contents = {}) {
        m_replaced = path(name);
        QFile::rename(m_replaced, m_replaced + ".kept");
        QFile file(m_replaced);
        if (stand == Stand::Bytes && file.open(QIODevice::WriteOnly)) file.write(contents);
        if (stand == Stand::Pipe) ::mkfifo(QFile::encodeName(m_replaced).constData(), 0600);
        if (stand == Stand::Folder) QDir().mkdir(m_replaced);
    }

private slots:
    void init() {
        m_messages.clear();
        Messages::setHandler([this](QWidget*, const QString& text) { m_messages << text; });
    }

    void cleanup() {
        if (m_replaced.isEmpty()) return;
        QFile::remove(m_replaced);
        QDir().rmdir(m_replaced);
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

    // A bitmap is shown only when its data holds every pixel row its headers describe, rows
    // padded to four bytes, wherever its pixels start and whichever way up its rows are stored.
    void pictureBytes_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("shown");
        QTest::addColumn<QString>("reason");  // when refused
        const QString cut = u"обрезан"_s;
        const QList<std::pair<const char*, QByteArray>> whole = {
            {"24 bits", bitmap(QImage::Format_RGB32)},
            {"4 bits", bitmap(QImage::Format_Indexed8)},
            {"1 bit", bitmap(QImage::Format_Mono)},
            {"24 bits top down", topDown(bitmap(QImage::Format_RGB32))}};
        for (const auto& [name, bytes] : whole) {
            QTest::addRow("%s", name) << bytes << true << QString();
            QTest::addRow("%s, one byte short", name) << bytes.chopped(1) << false << cut;
            QTest::addRow("%s, bytes after", name) << bytes + "tail" << true << QString();
        }
        QFile file(path("1k.BMP"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray picture = file.readAll();
        QTest::newRow("picture cut to half") << picture.left(picture.size() / 2) << false << cut;
        QTest::newRow("picture's first 1000 bytes") << picture.left(1000) << false << cut;
        QTest::newRow("headers only") << picture.left(54) << false << cut;
        QTest::newRow("headers cut") << picture.left(20) << false << cut;
        QTest::newRow("pixels start past the end")
            << picture.left(10) + QByteArray("\xff\xff\xff\x00", 4) + picture.mid(14, 100) << false
            << cut;
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        QImage::fromData(whole[0].second).save(&buffer, "PNG");
        QTest::newRow("a PNG under a bitmap's name") << png << true << QString();
        QTest::newRow("no picture")
            << QByteArray("BM, then nothing a reader takes") << false << u"нет рисунка"_s;
    }
    void pictureBytes() {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, shown);
        QFETCH(QString, reason);
        const PictureLoad load = PictureFromBytes(bytes, "BMP");
        QCOMPARE(!load.image.isNull(), shown);
        if (shown)
            QCOMPARE(load.image, QImage::fromData(bytes));
        else
            QVERIFY2(load.reason.contains(reason), qPrintable(load.reason));
    }

    void unreadablePicture_data() {
        QTest::addColumn<Stand>("stand");
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QString>("message");
        const QString unreadable = u"Файл рисунка 1k.BMP не удаётся прочитать как рисунок:"_s;
        QFile file(path("1k.BMP"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray picture = file.readAll();
        QTest::newRow("missing file")
            << Stand::Nothing << QByteArray() << u"Нет файла рисунка 1k.BMP:"_s;
        QTest::newRow("not a picture")
            << Stand::Bytes << QByteArray("this is no bitmap\r\n") << unreadable;
        QTest::newRow("cut to half")
            << Stand::Bytes << picture.left(picture.size() / 2) << unreadable;
        QTest::newRow("1000 bytes") << Stand::Bytes << picture.left(1000) << unreadable;
        QTest::newRow("pipe") << Stand::Pipe << QByteArray() << unreadable;
        QTest::newRow("folder") << Stand::Folder << QByteArray() << unreadable;
    }

    // The box and FigureIndex stay, so every press asks for the same file and names it; a pipe
    // in its place is never waited on.
    void unreadablePicture() {
        QFETCH(Stand, stand);
        QFETCH(QByteArray, contents);
        QFETCH(QString, message);
        FRIS123 viewer({});
        pressNext(&viewer);
        const QImage first = shown(&viewer);
        replace("1k.BMP", stand, contents);
        PipeWatch watch(QFile::encodeName(path("1k.BMP")));
        for (int i = 0; i < 2; ++i) pressNext(&viewer);
        QVERIFY2(!watch.fired(), "the viewer waited on a pipe");
        QCOMPARE(shown(&viewer), first);
        QCOMPARE(viewer.figureIndex(), 1);
        QCOMPARE(m_messages.size(), 2);
        for (const QString& text : m_messages)
            QVERIFY2(text.startsWith(message) && text.contains(path("1k.BMP")), qPrintable(text));
    }

    // Green with a red block from (560, 380): the box cuts it off unscaled, buttons on top.
    void largePicture_isCutOffUnderTheButtons() {
        QImage large(700, 500, QImage::Format_RGB32);
        large.fill(Qt::green);
        QPainter(&large).fillRect(560, 380, 140, 120, Qt::red);
        replace("GDS001.BMP", Stand::Nothing);
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
