// SPDX-License-Identifier: GPL-3.0-or-later
// Times the town search over every town for prefixes of one, two and five letters, Russian and
// Latin, and the satellite list, over the table the program carries; and what reading the table
// at the first search costs in time and memory.
// Usage: bench_search [rounds]   (200 by default)

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "places.h"

namespace {

void report(const char* what, std::vector<qint64> nanoseconds) {
    std::sort(nanoseconds.begin(), nanoseconds.end());
    std::printf("%-34s median %8.1f us, max %8.1f us\n", what,
                double(nanoseconds[nanoseconds.size() / 2]) / 1000.0,
                double(nanoseconds.back()) / 1000.0);
}

// The process's peak resident memory in kB (Linux).
long PeakKilobytes() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 200;
    if (rounds < 1) {
        std::fprintf(stderr, "usage: bench_search [rounds]\n");
        return 2;
    }
    const long before = PeakKilobytes();
    QElapsedTimer timer;
    timer.start();
    const PlaceTable* table = PlaceTable::builtIn();
    const qint64 loading = timer.nsecsElapsed();
    if (!table) {
        std::fprintf(stderr, "bench_search: the program carries no table\n");
        return 1;
    }
    std::printf(
        "table read at the first search: %.1f ms, peak memory %+ld kB (%d towns, %d "
        "satellites)\n",
        double(loading) / 1e6, PeakKilobytes() - before, table->townCount(),
        table->satelliteCount());

    const struct {
        const char* label;
        const char* typed;
    } kTyped[] = {
        {"towns, 1 letter (\"н\")", "н"},          {"towns, 1 letter (\"s\")", "s"},
        {"towns, 2 letters (\"но\")", "но"},       {"towns, 2 letters (\"sa\")", "sa"},
        {"towns, 5 letters (\"новос\")", "новос"}, {"towns, 5 letters (\"johan\")", "johan"},
        {"satellites, nothing typed", ""},         {"satellites, name (\"hotbird\")", "hotbird"},
        {"satellites, position (\"36E\")", "36E"}};
    for (const auto& typed : kTyped) {
        const QString text = QString::fromUtf8(typed.typed);
        const bool towns = typed.label[0] == 't';
        std::vector<qint64> nanoseconds;
        size_t found = 0;
        for (int i = 0; i < rounds; ++i) {
            timer.start();
            found += towns ? table->findTowns(text).size() : table->findSatellites(text).size();
            nanoseconds.push_back(timer.nsecsElapsed());
        }
        report(typed.label, nanoseconds);
        if (found == 0) return 1;
    }
    return 0;
}
