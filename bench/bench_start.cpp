// SPDX-License-Identifier: GPL-3.0-or-later
// Times one press of START on the real main window, from the click to the last result box and
// the direction data file written, over many presses of the worked example.
// Usage: bench_start [clicks]   (1000 by default)

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "appdir.h"
#include "datafile.h"
#include "messages.h"
#include "startrun.h"
#include "torvel.h"

namespace {

void report(const char* what, std::vector<qint64> nanoseconds) {
    std::sort(nanoseconds.begin(), nanoseconds.end());
    auto at = [&nanoseconds](double fraction) {
        const auto index = std::size_t(fraction * double(nanoseconds.size() - 1) + 0.5);
        return double(nanoseconds[index]) / 1000.0;
    };
    std::printf("%s, %zu runs: median %.1f us, p99 %.1f us, max %.1f us\n", what,
                nanoseconds.size(), at(0.5), at(0.99), double(nanoseconds.back()) / 1000.0);
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const int clicks = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 1000;
    if (clicks < 1) {
        std::fprintf(stderr, "usage: bench_start [clicks]\n");
        return 2;
    }
    int messages = 0;
    Messages::setHandler([&messages](QWidget*, const QString&) { ++messages; });

    TORVEL window;
    window.show();
    auto box = [&window](const char* name) { return window.findChild<QLineEdit*>(name); };
    QTest::keyClicks(box("Text5"), QStringLiteral("13"));
    QTest::keyClicks(box("Text9"), QStringLiteral("19"));
    QTest::keyClicks(box("Text10"), QStringLiteral("12"));
    QTest::keyClicks(box("Text13"), QStringLiteral("450"));
    auto* start = window.findChild<QPushButton*>(QStringLiteral("Gprog"));

    // The run is synchronous: when the click returns, every box and the file are written.
    std::vector<qint64> nanoseconds;
    nanoseconds.reserve(std::size_t(clicks));
    QElapsedTimer timer;
    for (int i = 0; i < clicks; ++i) {
        box("Text7")->clear();
        timer.start();
        QTest::mouseClick(start, Qt::LeftButton);
        nanoseconds.push_back(timer.nsecsElapsed());
        if (box("Text7")->text() != QStringLiteral(" 44.8168471212995")) {
            std::fprintf(stderr, "START did not complete\n");
            return 1;
        }
    }
    if (messages != 0) {
        std::fprintf(stderr, "START reported %d messages\n", messages);
        return 1;
    }

    report("START click (calculation, result boxes, data file)", nanoseconds);

    // The two parts of a click on their own: the calculation, and the replacement of the data
    // file, whose flush to the disk usually dominates.
    const StartInputs inputs{"35", "27.69", "32", "48.5", "13", "", "19", "12", "450"};
    std::vector<qint64> calculation, file;
    QString error;
    for (int i = 0; i < clicks; ++i) {
        timer.start();
        const StartResult run = RunStart(inputs, {}, u'.');
        calculation.push_back(timer.nsecsElapsed());
        timer.start();
        if (!WriteDataFile(window.dataFile(), run.alpha1, run.beta1, &error)) {
            std::fprintf(stderr, "cannot write the data file: %s\n", qPrintable(error));
            return 1;
        }
        file.push_back(timer.nsecsElapsed());
    }
    report("calculation alone", calculation);
    report("data file alone", file);
    return 0;
}
