// SPDX-License-Identifier: GPL-3.0-or-later
// Times writing the installation sheet from the real main window, from Ctrl+S to the page saved
// (both satellites' sun outage search over a year, the page and the file), for the worked
// example and Johannesburg; then the figures and the page on their own.
// Usage: bench_sheet [saves]   (20 by default)

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "messages.h"
#include "sheet.h"
#include "startrun.h"
#include "torvel.h"

namespace {

void report(const char* what, std::vector<qint64> nanoseconds) {
    std::sort(nanoseconds.begin(), nanoseconds.end());
    std::printf("%s, %zu runs: median %.1f ms, max %.1f ms\n", what, nanoseconds.size(),
                double(nanoseconds[nanoseconds.size() / 2]) / 1e6,
                double(nanoseconds.back()) / 1e6);
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const int saves = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 20;
    if (saves < 1) {
        std::fprintf(stderr, "usage: bench_sheet [saves]\n");
        return 2;
    }
    QStringList messages;
    Messages::setHandler([&messages](QWidget*, const QString& text) { messages << text; });
    QTemporaryDir dir;

    const struct {
        const char* name;
        StartInputs inputs;
    } sites[] = {{"worked example", {"35", "27.69", "32", "48.5", "13", "", "19", "12", "450"}},
                 {"Johannesburg", {"28", "3", "-26", "-12", "20", "", "36", "", "600"}}};
    for (const auto& site : sites) {
        TORVEL window;
        window.setSheetPathAsker(
            [&](QWidget*, const QString&) { return dir.filePath(QStringLiteral("sheet.pdf")); });
        const QStringList values{site.inputs.text1, site.inputs.text2,  site.inputs.text3,
                                 site.inputs.text4, site.inputs.text5,  site.inputs.text6,
                                 site.inputs.text9, site.inputs.text10, site.inputs.text13};
        const QStringList boxes{"Text1", "Text2", "Text3",  "Text4", "Text5",
                                "Text6", "Text9", "Text10", "Text13"};
        for (int i = 0; i < boxes.size(); ++i)
            window.findChild<QLineEdit*>(boxes[i])->setText(values[i]);
        window.runStart();
        window.show();
        if (!QTest::qWaitForWindowActive(&window)) {
            std::fprintf(stderr, "the window did not become active\n");
            return 1;
        }

        std::vector<qint64> whole, figures, page;
        QElapsedTimer timer;
        for (int i = 0; i < saves; ++i) {
            timer.start();
            QTest::keyClick(&window, Qt::Key_S, Qt::ControlModifier);
            whole.push_back(timer.nsecsElapsed());
        }
        const StartResult run = RunStart(site.inputs, CarriedValues{}, QLatin1Char('.'));
        SheetInput sheet = *SheetInputOf(site.inputs, run);
        sheet.calculated = QDateTime::currentDateTime();
        for (int i = 0; i < saves; ++i) {
            timer.start();
            const SheetFigures f = ComputeSheet(sheet);
            figures.push_back(timer.nsecsElapsed());
            timer.start();
            const QByteArray pdf = SheetPdf(sheet, f, QFont());
            page.push_back(timer.nsecsElapsed());
        }
        if (!QFile::exists(dir.filePath(QStringLiteral("sheet.pdf")))) {
            std::fprintf(stderr, "Ctrl+S wrote no sheet\n");
            return 1;
        }
        QFile::remove(dir.filePath(QStringLiteral("sheet.pdf")));
        std::printf("%s:\n", site.name);
        report("  Ctrl+S to the page saved", whole);
        report("  the figures (look angles, outages)", figures);
        report("  the PDF page", page);
    }
    if (!messages.isEmpty()) {
        std::fprintf(stderr, "unexpected message: %s\n", qPrintable(messages.first()));
        return 1;
    }
    return 0;
}
