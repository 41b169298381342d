#include "platform/qt/qt_signal_closer.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <string>

#include "platform/failure.h"
#include "platform/guarded.h"

namespace platform::qt {

namespace {

// The pipe's write end for the signal handler; -1 while no closer exists.
std::atomic<int> wake_fd{-1};
static_assert(std::atomic<int>::is_always_lock_free, "the signal handler cannot take locks");

// Async-signal-safe: one write of one byte, errno left as it was. A full
// pipe already holds a wake-up, so a failed write loses nothing.
void on_signal_received(int /*signal*/) {
    const int saved_errno = errno;
    const char byte = 1;
    if (::write(wake_fd.load(), &byte, 1) < 0) {
        // Nothing to do: see above.
    }
    errno = saved_errno;
}

[[noreturn]] void fail(const std::string& what) {
    throw platform::Failure(what + ": " + std::strerror(errno));
}

}  // namespace

QtSignalCloser::QtSignalCloser(std::function<void()> on_signal) : on_signal_(std::move(on_signal)) {
    if (wake_fd.load() != -1) {
        throw platform::Failure("the termination signals already have a closer");
    }
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) {
        fail("cannot make the signal pipe");
    }
    read_fd_ = ends[0];
    write_fd_ = ends[1];
    wake_fd.store(write_fd_);

    notifier_ = std::make_unique<QSocketNotifier>(read_fd_, QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(),
                     [this] { wake(); });

    struct sigaction action {};
    action.sa_handler = on_signal_received;
    sigemptyset(&action.sa_mask);
    // Calls that the signal interrupts go on rather than fail with EINTR.
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < handled_signals.size(); ++i) {
        sigaction(handled_signals[i], &action, &former_[i]);
    }
}

QtSignalCloser::~QtSignalCloser() {
    for (std::size_t i = 0; i < handled_signals.size(); ++i) {
        sigaction(handled_signals[i], &former_[i], nullptr);
    }
    wake_fd.store(-1);
    if (running_) {
        // Our handler is ending us from inside the notifier's own signal:
        // the notifier must outlive that call.
        notifier_->setEnabled(false);
        QObject::disconnect(notifier_.get(), nullptr, nullptr, nullptr);
        notifier_.release()->deleteLater();
    }
    notifier_.reset();
    ::close(read_fd_);
    ::close(write_fd_);
}

void QtSignalCloser::wake() {
    // Several signals may have come since the last wake-up; they ask for the
    // same thing.
    char bytes[64];
    while (::read(read_fd_, bytes, sizeof bytes) > 0) {
    }
    if (running_) {
        return;
    }
    const std::weak_ptr<int> alive = alive_;
    running_ = true;
    guarded({"termination signal", {}}, [this] {
        const std::function<void()> handler = on_signal_;
        if (handler) {
            handler();
        }
    });
    if (!alive.expired()) {
        running_ = false;
    }
}

}  // namespace platform::qt
