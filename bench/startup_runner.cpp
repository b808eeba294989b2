// SPDX-License-Identifier: GPL-3.0-or-later
// Starts programs in turn and measures, for each start, the time from starting the process to
// its "ready" line (see startupprobe.h) and the process's peak resident memory. The programs
// alternate, and their order is swapped every round, so that a slow spell of the machine falls on
// all alike. Prints the medians of each program and the ratios of the first to each other one.
// Usage: startup_runner [--rounds N] program...   (15 rounds by default, after one warm-up round;
// 0 only checks that every program starts and reports ready)

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Start {
    double milliseconds;
    double cpuMilliseconds;  // user and system time of the whole process, to its exit
    double peakMegabytes;
};

// One start of the program; false when it did not report ready within the time limit.
bool startOnce(const std::string& program, Start* start) {
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) return false;
    const auto begin = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid < 0) return false;
    if (pid == 0) {
        dup2(pipeFds[1], STDOUT_FILENO);
        const int null = open("/dev/null", O_WRONLY);
        if (null >= 0) dup2(null, STDERR_FILENO);
        execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(pipeFds[1]);

    std::string output;
    bool ready = false;
    while (!ready) {
        pollfd fd{pipeFds[0], POLLIN, 0};
        if (poll(&fd, 1, 30000) <= 0) break;
        char buffer[64];
        const ssize_t n = read(pipeFds[0], buffer, sizeof buffer);
        if (n <= 0) break;
        output.append(buffer, std::size_t(n));
        ready = output.find("ready\n") != std::string::npos;
    }
    const auto end = std::chrono::steady_clock::now();
    close(pipeFds[0]);
    if (!ready) kill(pid, SIGKILL);

    int status = 0;
    rusage usage{};
    while (wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    start->milliseconds = std::chrono::duration<double, std::milli>(end - begin).count();
    start->cpuMilliseconds = (double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e6 +
                              double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec)) /
                             1000.0;
    start->peakMegabytes = double(usage.ru_maxrss) / 1024.0;  // ru_maxrss is in kilobytes
    return ready && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace

int main(int argc, char* argv[]) {
    int rounds = 15;
    std::vector<std::string> programs;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--rounds") == 0 && i + 1 < argc)
            rounds = std::atoi(argv[++i]);
        else
            programs.emplace_back(argv[i]);
    }
    if (programs.empty() || rounds < 0) {
        std::fprintf(stderr, "usage: startup_runner [--rounds N] program...\n");
        return 2;
    }

    const std::size_t count = programs.size();
    std::vector<std::vector<double>> times(count), cpu(count), peaks(count);
    for (int round = 0; round <= rounds; ++round) {  // round 0 warms the caches and is not kept
        for (std::size_t k = 0; k < programs.size(); ++k) {
            const std::size_t p = round % 2 ? programs.size() - 1 - k : k;
            Start start{};
            if (!startOnce(programs[p], &start)) {
                std::fprintf(stderr, "%s did not start and report ready\n", programs[p].c_str());
                return 1;
            }
            if (round == 0) continue;
            times[p].push_back(start.milliseconds);
            cpu[p].push_back(start.cpuMilliseconds);
            peaks[p].push_back(start.peakMegabytes);
        }
    }

    if (rounds == 0) {  // the warm-up round alone: each program starts and reports ready
        std::printf("every program started and reported ready\n");
        return 0;
    }
    std::printf(
        "%d starts of each, in turn. Start-up: from starting the process to all its windows drawn\n"
        "and the event loop idle (median and range). CPU: user and system time of the whole\n"
        "process. Peak RSS: the process's peak resident memory. All medians.\n",
        rounds);
    for (std::size_t p = 0; p < count; ++p) {
        const auto [low, high] = std::minmax_element(times[p].begin(), times[p].end());
        std::printf("%-40s start-up %6.1f ms (%.1f..%.1f)  CPU %6.1f ms  peak RSS %5.1f MB\n",
                    programs[p].c_str(), median(times[p]), *low, *high, median(cpu[p]),
                    median(peaks[p]));
    }
    auto name = [&programs](std::size_t p) {
        return programs[p].substr(programs[p].rfind('/') + 1);
    };
    for (std::size_t p = 1; p < count; ++p) {
        std::printf("%s / %s: start-up %.3f, CPU %.3f, peak RSS %.3f\n", name(0).c_str(),
                    name(p).c_str(), median(times[0]) / median(times[p]),
                    median(cpu[0]) / median(cpu[p]), median(peaks[0]) / median(peaks[p]));
    }
    return 0;
}
