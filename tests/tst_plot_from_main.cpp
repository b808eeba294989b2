#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "appdir.h"
#include "datafile.h"
#include "flin1.h"
#include "messages.h"
#include "torvel.h"

// The direction plot as the user reaches it: a calculation in the main window writes the
// direction data file, "НАПРАВЛЕНИЕ" shows the plot, and the plot's START draws from that file.
class TestPlotFromMain : public QObject {
    Q_OBJECT
private slots:
    void drawsTheCalculatedDirection();
};

void TestPlotFromMain::drawsTheCalculatedDirection() {
    QStringList messages;
    Messages::setHandler([&messages](QWidget*, const QString& text) { messages << text; });
    // The plot must draw from the file this calculation writes, not from an earlier one.
    QFile::remove(DataFilePath(AppDir()));

    TORVEL main;
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    for (const auto& [name, text] : {std::pair{"Text5", "13"}, std::pair{"Text9", "19"},
                                     std::pair{"Text10", "12"}, std::pair{"Text13", "450"}}) {
        auto* box = main.findChild<QLineEdit*>(name);
        QVERIFY2(box, name);
        QTest::keyClicks(box, text);
    }
    QTest::mouseClick(main.findChild<QPushButton*>("Gprog"), Qt::LeftButton);
    QFile file(DataFilePath(AppDir()));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().startsWith("217.344291652777,"));

    auto* napr = main.findChild<QPushButton*>("NAPR");
    QVERIFY(napr && napr->text() == "НАПРАВЛЕНИЕ");
    QTest::mouseClick(napr, Qt::LeftButton);
    FLIN1* plot = main.plotWindow();
    QVERIFY(plot && plot->isVisible());
    QVERIFY(plot->lastOperations().isEmpty());  // showing the plot draws nothing

    QTest::mouseClick(plot->findChild<QPushButton*>("START"), Qt::LeftButton);
    const QStringList ops = plot->lastOperations();
    QVERIFY2(ops.contains("line 2581,3042 3459,174 0,255,255"), qPrintable(ops.join('\n')));
    QCOMPARE(ops.last(), "print \"alfa= 217\"");
    QVERIFY2(messages.isEmpty(), qPrintable(messages.join('\n')));
    Messages::setHandler({});
}

QTEST_MAIN(TestPlotFromMain)
#include "tst_plot_from_main.moc"
