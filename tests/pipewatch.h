// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Keeps a test from hanging on a named pipe: after three seconds the watch opens and closes the
// pipe every hundredth of a second, which ends any wait on it; fired() then fails the test.

#include <fcntl.h>
#include <unistd.h>

#include <QByteArray>
#include <atomic>
#include <csignal>
#include <thread>

class PipeWatch {
public:
    explicit PipeWatch(QByteArray pipe)
        : m_thread([this, pipe] {
              using namespace std::chrono_literals;
              for (int tick = 0; !m_done; ++tick, std::this_thread::sleep_for(10ms))
                  if ((m_fired = tick >= 300))
                      ::close(::open(pipe.constData(), O_RDWR | O_NONBLOCK));
          }) {
        std::signal(SIGPIPE, SIG_IGN);  // a writer on the pipe gets EPIPE, not a fatal signal
    }
    ~PipeWatch() {
        m_done = true;
        m_thread.join();
    }
    bool fired() const { return m_fired; }

private:
    std::atomic<bool> m_done{false}, m_fired{false};
    std::thread m_thread;
};
