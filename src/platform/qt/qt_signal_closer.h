#pragma once

#include <QSocketNotifier>
#include <array>
#include <csignal>
#include <functional>
#include <memory>

namespace platform::qt {

// Turns the signals that ask a program to end (SIGTERM, SIGINT, SIGHUP) into
// a call of `on_signal` from the event loop, where the program can end the
// way it does when the user closes it. The signal handler itself only writes
// a byte to a pipe.
//
// Signals that arrive while the handler runs are dropped: the program is
// already ending. One closer at a time; it puts the former dispositions
// back when it ends.
class QtSignalCloser {
  public:
    // Throws platform::Failure when another closer exists or the pipe
    // cannot be made.
    explicit QtSignalCloser(std::function<void()> on_signal);
    QtSignalCloser(const QtSignalCloser&) = delete;
    QtSignalCloser& operator=(const QtSignalCloser&) = delete;
    ~QtSignalCloser();

    // The signals it answers.
    static constexpr std::array<int, 3> handled_signals{SIGTERM, SIGINT, SIGHUP};

  private:
    void wake();

    std::function<void()> on_signal_;
    int read_fd_ = -1;
    int write_fd_ = -1;
    std::array<struct sigaction, handled_signals.size()> former_{};
    std::unique_ptr<QSocketNotifier> notifier_;
    bool running_ = false;
    // Expires with this object, so that a wake-up can tell whether its
    // handler ended the closer.
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
};

}  // namespace platform::qt
