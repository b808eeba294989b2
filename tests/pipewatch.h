#pragma once

// Keeps a test from hanging on a named pipe. Should the code under test open the pipe and wait
// for its other end (or read from it and wait for data), the watch opens the pipe itself once
// its patience runs out, and again every tenth of a second: the open that waits ends, and a read
// sees the end of the data as the watch closes its end. fired() then tells the test to fail.

#include <fcntl.h>
#include <unistd.h>

#include <QByteArray>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <mutex>
#include <thread>

class PipeWatch {
public:
    explicit PipeWatch(QByteArray pipe,
                       std::chrono::milliseconds patience = std::chrono::milliseconds(3000))
        : m_pipe(std::move(pipe)) {
        // Code that opened the pipe for writing gets EPIPE rather than a fatal signal.
        std::signal(SIGPIPE, SIG_IGN);
        m_thread = std::thread([this, patience] {
            std::unique_lock<std::mutex> lock(m_mutex);
            if (m_stop.wait_for(lock, patience, [this] { return m_done; })) return;
            m_fired = true;
            while (
                !m_stop.wait_for(lock, std::chrono::milliseconds(100), [this] { return m_done; })) {
                const int fd = ::open(m_pipe.constData(), O_RDWR | O_NONBLOCK);
                if (fd >= 0) ::close(fd);
            }
        });
    }
    ~PipeWatch() {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_done = true;
        }
        m_stop.notify_all();
        m_thread.join();
    }
    PipeWatch(const PipeWatch&) = delete;
    PipeWatch& operator=(const PipeWatch&) = delete;

    // Whether the code under test waited on the pipe.
    bool fired() const { return m_fired; }

private:
    QByteArray m_pipe;
    std::mutex m_mutex;
    std::condition_variable m_stop;
    bool m_done = false;
    std::atomic<bool> m_fired{false};
    std::thread m_thread;
};
