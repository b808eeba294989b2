#include <QFile>
#include <QLineEdit>
#include <QPointer>
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
    void init();
    void cleanup();
    void drawsTheCalculatedDirection();
    void reopenedAfterClosingStartsAfresh();

private:
    void calculateWorkedExample(TORVEL& main);
    QStringList m_messages;
};

void TestPlotFromMain::init() {
    m_messages.clear();
    Messages::setHandler([this](QWidget*, const QString& text) { m_messages << text; });
    // The plot must draw from the file this calculation writes, not from an earlier one.
    QFile::remove(DataFilePath(AppDir()));
}

void TestPlotFromMain::cleanup() {
    Messages::setHandler({});
}

void TestPlotFromMain::calculateWorkedExample(TORVEL& main) {
    const QList<std::pair<const char*, const char*>> inputs = {
        {"Text5", "13"}, {"Text9", "19"}, {"Text10", "12"}, {"Text13", "450"}};
    for (const auto& [name, text] : inputs) {
        auto* box = main.findChild<QLineEdit*>(name);
        QVERIFY2(box, name);
        box->clear();
        QTest::keyClicks(box, text);
    }
    auto* gprog = main.findChild<QPushButton*>("Gprog");
    QVERIFY(gprog);
    QTest::mouseClick(gprog, Qt::LeftButton);
    QVERIFY2(m_messages.isEmpty(), qPrintable(m_messages.join('\n')));

    QFile file(DataFilePath(AppDir()));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().startsWith("217.344291652777,"));
}

void TestPlotFromMain::drawsTheCalculatedDirection() {
    TORVEL main;
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    calculateWorkedExample(main);
    if (QTest::currentTestFailed()) return;

    auto* napr = main.findChild<QPushButton*>("NAPR");
    QVERIFY(napr);
    QCOMPARE(napr->text(), "НАПРАВЛЕНИЕ");
    QTest::mouseClick(napr, Qt::LeftButton);
    FLIN1* plot = main.plotWindow();
    QVERIFY(plot);
    QVERIFY(plot->isVisible());
    // Showing the plot draws nothing; START does.
    QVERIFY(plot->lastOperations().isEmpty());

    auto* start = plot->findChild<QPushButton*>("START");
    QVERIFY(start);
    QTest::mouseClick(start, Qt::LeftButton);
    const QStringList ops = plot->lastOperations();
    QVERIFY2(ops.contains("line 2581,3042 3459,174 0,255,255"), qPrintable(ops.join('\n')));
    QCOMPARE(ops.last(), "print \"alfa= 217\"");
    QVERIFY(m_messages.isEmpty());

    // EXIT brings the main window back and leaves the plot open.
    QTest::mouseClick(plot->findChild<QPushButton*>("CMDEXIT"), Qt::LeftButton);
    QVERIFY(plot->isVisible());
    QVERIFY(main.isVisible());
}

void TestPlotFromMain::reopenedAfterClosingStartsAfresh() {
    TORVEL main;
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    calculateWorkedExample(main);
    if (QTest::currentTestFailed()) return;

    auto* napr = main.findChild<QPushButton*>("NAPR");
    QVERIFY(napr);
    QTest::mouseClick(napr, Qt::LeftButton);
    QPointer<FLIN1> first = main.plotWindow();
    QVERIFY(first);
    first->findChild<QLineEdit*>("POZIA")->setText("20");
    first->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(first.isNull());

    QTest::mouseClick(napr, Qt::LeftButton);
    FLIN1* second = main.plotWindow();
    QVERIFY(second);
    QVERIFY(second->isVisible());
    QCOMPARE(second->findChild<QLineEdit*>("POZIA")->text(), "-20");
    QTest::mouseClick(second->findChild<QPushButton*>("START"), Qt::LeftButton);
    QVERIFY(second->lastOperations().contains("line 2581,3042 3459,174 0,255,255"));
}

QTEST_MAIN(TestPlotFromMain)
#include "tst_plot_from_main.moc"
