// SPDX-License-Identifier: GPL-3.0-or-later
#include <QBuffer>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>
#include <QTest>

#include "appdir.h"
#include "fris123.h"
#include "messages.h"

using namespace Qt::StringLiterals;

class TestFigures : public QObject {
    Q_OBJECT
    QStringList m_messages;

    static QString path(const QString& name) { return AppFilePath(*AppDir(), name); }
    static QImage rgb(const QImage& image) { return image.convertToFormat(QImage::Format_RGB32); }
    static QLabel* box(FRIS123* viewer) { return viewer->findChild<QLabel*>("Picture1"); }
    static QImage shown(FRIS123* viewer) { return rgb(box(viewer)->pixmap().toImage()); }
    static void pressNext(FRIS123* viewer) { viewer->findChild<QPushButton*>("RISYNOK")->click(); }
    static QByteArray encoded(QSize size, QImage::Format format = QImage::Format_RGB32,
                              const char* fileFormat = "BMP") {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        QImage(path("1k.BMP")).scaled(size).convertToFormat(format).save(&buffer, fileFormat);
        return bytes;
    }
    // Puts the bytes (null: no file) in the picture's place until the guard goes.
    static auto standIn(const QString& name, const QByteArray& bytes) {
        QFile::rename(path(name), path(name) + ".kept");
        QFile file(path(name));
        if (!bytes.isNull()) file.open(QIODevice::WriteOnly) && file.write(bytes);
        return qScopeGuard([name] {
            QFile::remove(path(name));
            QFile::rename(path(name) + ".kept", path(name));
        });
    }

private slots:
    void initTestCase() {
        Messages::setHandler([this](QWidget*, const QString& text) { m_messages << text; });
    }

    // The cycle, back to its start; a larger picture is cut off unscaled, under the buttons.
    void cycle() {
        const auto kept = standIn("GDS001.BMP", encoded({700, 500}));
        const QImage large = rgb(QImage(path("GDS001.BMP")));
        FRIS123 viewer({});
        for (const char* name : {"GDS001.BMP", "1k.BMP", "2k.BMP", "3k.BMP", "4k.BMP",
                                 "TRANS002.BMP", "YGOLP.BMP", "5k.BMP", "GDS001.BMP"}) {
            pressNext(&viewer);
            QCOMPARE(shown(&viewer), rgb(QImage(path(name))));
        }
        QCOMPARE(viewer.figureIndex(), 1);
        const QImage grabbed = rgb(box(&viewer)->grab().toImage());
        QCOMPARE(grabbed.copy(100, 120, 485, 276), large.copy(100, 120, 485, 276));
        QVERIFY(grabbed.copy(0, 0, 100, 120) != large.copy(0, 0, 100, 120));
    }

    // A 9-pixel-wide bitmap either way up is shown whole; else the box and FigureIndex stay.
    void secondPicture_data() {
        QTest::addColumn<QByteArray>("bytes");  // in place of 1k.BMP; null: no file
        QTest::addColumn<QString>("message");   // empty: shown
        const QByteArray bmp = encoded({9, 5}), mono = encoded({9, 5}, QImage::Format_Mono);
        const QByteArray down = QByteArray(bmp).replace(22, 4, "\xfb\xff\xff\xff");
        for (auto [name, b] : {std::pair("24 bits", bmp), {"1 bit", mono}, {"top down", down}}) {
            QTest::addRow("%s", name) << b << QString();
            QTest::addRow("%s, one byte short", name) << b.chopped(1) << u"обрезан"_s;
        }
        QTest::newRow("bytes after") << bmp + bmp << QString();
        QTest::newRow("PNG") << encoded({9, 5}, QImage::Format_RGB32, "PNG") << QString();
        QTest::newRow("no file") << QByteArray() << u"Нет файла рисунка"_s;
    }
    void secondPicture() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        const bool refused = !message.isEmpty();
        m_messages.clear();
        FRIS123 viewer({});
        pressNext(&viewer);
        const auto kept = standIn("1k.BMP", bytes);
        for (int press = 0; press <= refused; ++press) pressNext(&viewer);
        QCOMPARE(shown(&viewer),
                 rgb(refused ? QImage(path("GDS001.BMP")) : QImage::fromData(bytes)));
        QCOMPARE(viewer.figureIndex(), refused ? 1 : 2);
        QCOMPARE(m_messages.filter(path("1k.BMP")).filter(message).size(), refused ? 2 : 0);
    }
};

QTEST_MAIN(TestFigures)
#include "tst_figures.moc"
