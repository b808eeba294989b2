#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include "appdir.h"
#include "figurecycle.h"
#include "fris123.h"
#include "messages.h"

// The viewer reads its pictures from the test's program directory, where the build copies the
// pictures it draws. Tests that need a damaged or unusual file replace one there and put the
// original back when they end.
namespace {

QString picturePath(const QString& name) {
    return AppFilePath(AppDir(), name);
}

QImage rgb(const QImage& image) {
    return image.convertToFormat(QImage::Format_RGB32);
}

class ReplacedFile {
public:
    // Moves the picture aside; with contents, writes them in its place.
    ReplacedFile(const QString& name, const QByteArray* contents)
        : m_path(picturePath(name)), m_kept(m_path + QStringLiteral(".kept")) {
        QFile::remove(m_kept);
        QFile::rename(m_path, m_kept);
        if (contents) {
            QFile file(m_path);
            if (file.open(QIODevice::WriteOnly)) file.write(*contents);
        }
    }
    ~ReplacedFile() {
        QFile::remove(m_path);
        QFile::rename(m_kept, m_path);
    }

private:
    QString m_path;
    QString m_kept;
};

}  // namespace

class TestFigures : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void nextFigure_data();
    void nextFigure();
    void pictureFiles_data();
    void pictureFiles();
    void loadedWindow();
    void presses_cycleThroughEightPictures();
    void closing_unloads_data();
    void closing_unloads();
    void unreadablePicture_keepsPictureAndIndex_data();
    void unreadablePicture_keepsPictureAndIndex();
    void largePicture_isCutOffUnderTheButtons();

private:
    QStringList m_messages;
    int m_mainShown = 0;
    QPointer<FRIS123> open();
    void press(FRIS123* viewer, const char* button);
    QLabel* picture(FRIS123* viewer);
};

QPointer<FRIS123> TestFigures::open() {
    return new FRIS123([this] { ++m_mainShown; });
}

void TestFigures::press(FRIS123* viewer, const char* button) {
    auto* b = viewer->findChild<QPushButton*>(QLatin1String(button));
    QVERIFY(b);
    QTest::mouseClick(b, Qt::LeftButton);
}

QLabel* TestFigures::picture(FRIS123* viewer) {
    return viewer->findChild<QLabel*>(QStringLiteral("Picture1"));
}

void TestFigures::initTestCase() {
    Messages::setHandler([this](QWidget*, const QString& text) { m_messages << text; });
}

void TestFigures::init() {
    m_messages.clear();
    m_mainShown = 0;
}

void TestFigures::nextFigure_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<int>("next");
    QTest::newRow("lowest") << -32768 << "GDS001.BMP" << 1;
    QTest::newRow("-1") << -1 << "GDS001.BMP" << 1;
    QTest::newRow("0") << 0 << "GDS001.BMP" << 1;
    QTest::newRow("1") << 1 << "1k.BMP" << 2;
    QTest::newRow("2") << 2 << "2k.BMP" << 3;
    QTest::newRow("3") << 3 << "3k.BMP" << 4;
    QTest::newRow("4") << 4 << "4k.BMP" << 5;
    QTest::newRow("5") << 5 << "TRANS002.BMP" << 6;
    QTest::newRow("6") << 6 << "YGOLP.BMP" << 7;
    QTest::newRow("7") << 7 << "5k.BMP" << 0;
    QTest::newRow("8") << 8 << "5k.BMP" << 0;
    QTest::newRow("highest") << 32767 << "5k.BMP" << 0;
}

void TestFigures::nextFigure() {
    QFETCH(int, index);
    QFETCH(QString, fileName);
    QFETCH(int, next);
    const FigureStep step = NextFigure(static_cast<qint16>(index));
    QCOMPARE(step.fileName, fileName);
    QCOMPARE(step.nextIndex, next);
}

void TestFigures::pictureFiles_data() {
    QTest::addColumn<QString>("name");
    for (qint16 i = 0; i < FigureCount; ++i) {
        const QString name = NextFigure(i).fileName;
        QTest::newRow(qPrintable(name)) << name;
    }
}

// The pictures the build draws: 24-bit Windows bitmaps that fit the picture box and leave the
// corner under the two buttons empty.
void TestFigures::pictureFiles() {
    QFETCH(QString, name);
    QFile file(picturePath(name));
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
    const QByteArray header = file.read(30);
    QVERIFY(header.startsWith("BM"));
    QCOMPARE(quint8(header.at(28)) | quint8(header.at(29)) << 8, 24);  // bits per pixel
    const QImage image = rgb(QImage(file.fileName()));
    QVERIFY(!image.isNull());
    QVERIFY(image.width() <= 585 && image.height() <= 396);
    for (int y = 0; y < 110; ++y)
        for (int x = 0; x < 90; ++x) QCOMPARE(image.pixel(x, y), qRgb(255, 255, 255));
}

void TestFigures::loadedWindow() {
    QPointer<FRIS123> viewer = open();
    QVERIFY(viewer->isVisible());
    QCOMPARE(viewer->windowTitle(), QStringLiteral("RIS123"));
    QCOMPARE(viewer->geometry(), QRect(124, 102, 424, 333));
    QCOMPARE(viewer->figureIndex(), 0);
    QLabel* box = picture(viewer);
    QVERIFY(box);
    QCOMPARE(box->geometry(), QRect(0, 0, 585, 396));
    QVERIFY(box->pixmap().isNull());
    auto* exit = box->findChild<QPushButton*>(QStringLiteral("cmd1"));
    auto* next = box->findChild<QPushButton*>(QStringLiteral("RISYNOK"));
    QVERIFY(exit && next);
    // The buttons belong to the picture box, which keeps them above its picture.
    QCOMPARE(exit->parentWidget(), box);
    QCOMPARE(next->parentWidget(), box);
    QCOMPARE(exit->text(), QStringLiteral("ВЫХОД"));
    QCOMPARE(next->text(), QString(QChar(0x50)) + QStringLiteral("ИС.1,2,3"));
    QCOMPARE(exit->geometry(), QRect(16, 8, 65, 25));
    QCOMPARE(next->geometry(), QRect(16, 48, 65, 25));
    QCOMPARE(box->nextInFocusChain(), exit);
    QCOMPARE(exit->nextInFocusChain(), next);
    delete viewer;
}

void TestFigures::presses_cycleThroughEightPictures() {
    QPointer<FRIS123> viewer = open();
    qint16 index = 0;
    for (int i = 0; i < FigureCount + 1; ++i) {
        const FigureStep step = NextFigure(index);
        press(viewer, "RISYNOK");
        QCOMPARE(rgb(picture(viewer)->pixmap().toImage()), rgb(QImage(picturePath(step.fileName))));
        QCOMPARE(viewer->figureIndex(), step.nextIndex);
        index = step.nextIndex;
    }
    QCOMPARE(viewer->figureIndex(), 1);  // GDS001 again, after 5k
    QVERIFY(m_messages.isEmpty());
    delete viewer;
}

void TestFigures::closing_unloads_data() {
    QTest::addColumn<bool>("exitButton");
    QTest::addColumn<int>("mainShown");
    QTest::newRow("ВЫХОД") << true << 1;
    QTest::newRow("title bar") << false << 0;  // the main window stays as it is
}

void TestFigures::closing_unloads() {
    QFETCH(bool, exitButton);
    QFETCH(int, mainShown);
    QPointer<FRIS123> viewer = open();
    press(viewer, "RISYNOK");
    press(viewer, "RISYNOK");
    if (exitButton)
        press(viewer, "cmd1");
    else
        viewer->close();
    QCOMPARE(m_mainShown, mainShown);
    QTRY_VERIFY(viewer.isNull());

    // Loaded again, the viewer starts its cycle afresh with an empty box.
    viewer = open();
    QVERIFY(picture(viewer)->pixmap().isNull());
    press(viewer, "RISYNOK");
    QCOMPARE(rgb(picture(viewer)->pixmap().toImage()), rgb(QImage(picturePath("GDS001.BMP"))));
    delete viewer;
}

void TestFigures::unreadablePicture_keepsPictureAndIndex_data() {
    QTest::addColumn<bool>("missing");
    QTest::newRow("missing file") << true;
    QTest::newRow("not a picture") << false;
}

void TestFigures::unreadablePicture_keepsPictureAndIndex() {
    QFETCH(bool, missing);
    QPointer<FRIS123> viewer = open();
    press(viewer, "RISYNOK");
    const QImage first = rgb(picture(viewer)->pixmap().toImage());
    {
        const QByteArray text("this is no bitmap\r\n");
        ReplacedFile replaced(QStringLiteral("1k.BMP"), missing ? nullptr : &text);
        press(viewer, "RISYNOK");
        press(viewer, "RISYNOK");
        QCOMPARE(rgb(picture(viewer)->pixmap().toImage()), first);
        QCOMPARE(viewer->figureIndex(), 1);
        // Both presses asked for the same file, and each said which one.
        QCOMPARE(m_messages.size(), 2);
        for (const QString& message : std::as_const(m_messages))
            QVERIFY2(message.contains(QStringLiteral("1k.BMP")), qPrintable(message));
    }
    press(viewer, "RISYNOK");
    QCOMPARE(rgb(picture(viewer)->pixmap().toImage()), rgb(QImage(picturePath("1k.BMP"))));
    QCOMPARE(viewer->figureIndex(), 2);
    delete viewer;
}

void TestFigures::largePicture_isCutOffUnderTheButtons() {
    // Green everywhere, red from (560, 380) on: the box's last pixel is red, the ones left of and
    // above the red block green, and the buttons' corner green under the buttons.
    QImage large(700, 500, QImage::Format_RGB32);
    large.fill(Qt::green);
    for (int y = 380; y < 500; ++y)
        for (int x = 560; x < 700; ++x) large.setPixel(x, y, qRgb(255, 0, 0));
    const QString kept = picturePath(QStringLiteral("GDS001.BMP"));
    QByteArray bmp;
    {
        QBuffer buffer(&bmp);
        buffer.open(QIODevice::WriteOnly);
        QVERIFY(large.save(&buffer, "BMP"));
    }
    ReplacedFile replaced(QStringLiteral("GDS001.BMP"), &bmp);

    QPointer<FRIS123> viewer = open();
    press(viewer, "RISYNOK");
    QLabel* box = picture(viewer);
    QCOMPARE(box->size(), QSize(585, 396));
    const QImage shown = rgb(box->grab().toImage());
    QCOMPARE(shown.size(), QSize(585, 396));
    QCOMPARE(shown.pixel(584, 395), qRgb(255, 0, 0));
    QCOMPARE(shown.pixel(560, 380), qRgb(255, 0, 0));
    QCOMPARE(shown.pixel(559, 395), qRgb(0, 255, 0));
    QCOMPARE(shown.pixel(584, 379), qRgb(0, 255, 0));
    QCOMPARE(shown.pixel(0, 0), qRgb(0, 255, 0));
    // Each button is drawn over the picture: hardly any of its pixels show the picture's green.
    for (const char* name : {"cmd1", "RISYNOK"}) {
        const QRect area = box->findChild<QPushButton*>(QLatin1String(name))->geometry();
        int green = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                green += shown.pixel(x, y) == qRgb(0, 255, 0);
        QVERIFY2(green < area.width() * area.height() / 10, name);
    }
    delete viewer;
}

QTEST_MAIN(TestFigures)
#include "tst_figures.moc"
