#include "platform/posix/socket_engine.h"

#include <poll.h>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/timerfd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <string>
#include <utility>

#include "platform/failure.h"
#include "platform/guarded.h"

namespace platform::posix {

namespace {

[[noreturn]] void fail(const std::string& what) {
    throw platform::Failure(what + ": " + std::strerror(errno));
}

void add(int epoll, int fd, std::uint32_t events, SocketEngine::Token token) {
    epoll_event event{};
    event.events = events;
    event.data.u64 = token;
    if (::epoll_ctl(epoll, EPOLL_CTL_ADD, fd, &event) != 0) {
        fail("cannot watch descriptor " + std::to_string(fd));
    }
}

// Empties a counter descriptor (eventfd or timerfd) so that it is quiet again.
void drain(int fd) {
    std::uint64_t count = 0;
    while (::read(fd, &count, sizeof count) > 0) {
    }
}

}  // namespace

SocketEngine::SocketEngine()
    : epoll_(::epoll_create1(EPOLL_CLOEXEC)),
      posted_signal_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)),
      timer_(::timerfd_create(CLOCK_MONOTONIC, TFD_CLOEXEC | TFD_NONBLOCK)) {
    if (!epoll_ || !posted_signal_ || !timer_) {
        fail("cannot make the socket engine");
    }
    add(epoll_.get(), posted_signal_.get(), EPOLLIN, posted_token);
    add(epoll_.get(), timer_.get(), EPOLLIN, timer_token);
}

SocketEngine::~SocketEngine() = default;

SocketEngine::Token SocketEngine::watch(int fd, std::uint32_t events, Watcher& watcher) {
    const Token token = next_token_++;
    add(epoll_.get(), fd, events, token);
    watchers_.emplace(token, Watched{fd, &watcher});
    return token;
}

void SocketEngine::change(Token token, std::uint32_t events) {
    const auto found = watchers_.find(token);
    if (found == watchers_.end()) {
        return;
    }
    epoll_event event{};
    event.events = events;
    event.data.u64 = token;
    if (::epoll_ctl(epoll_.get(), EPOLL_CTL_MOD, found->second.fd, &event) != 0) {
        fail("cannot change what descriptor " + std::to_string(found->second.fd) + " waits for");
    }
}

void SocketEngine::unwatch(Token token) noexcept {
    const auto found = watchers_.find(token);
    if (found == watchers_.end()) {
        return;
    }
    ::epoll_ctl(epoll_.get(), EPOLL_CTL_DEL, found->second.fd, nullptr);
    watchers_.erase(found);
}

void SocketEngine::post(std::function<void()> call) {
    posted_.push_back(std::move(call));
    if (posted_.size() == 1) {
        const std::uint64_t one = 1;
        if (::write(posted_signal_.get(), &one, sizeof one) < 0) {
            // A full counter still wakes the loop; nothing is lost.
        }
    }
}

SocketEngine::Token SocketEngine::after(std::chrono::milliseconds delay,
                                        std::function<void()> call) {
    const Token token = next_token_++;
    deadlines_.emplace(Clock::now() + delay, token);
    delayed_.emplace(token, std::move(call));
    arm_timer();
    return token;
}

void SocketEngine::cancel(Token timer) noexcept {
    // The deadline stays in the queue and finds no call when it comes.
    delayed_.erase(timer);
}

void SocketEngine::dispatch() {
    ++pass_;
    // What the handlers start (a connection accepted, an answer sent) is
    // often ready at once: a few more rounds handle it in the same pass
    // instead of a turn of the loop each.
    for (int round = 0; round < rounds_per_pass; ++round) {
        if (handle_ready() == 0) {
            return;
        }
    }
}

int SocketEngine::handle_ready() {
    std::array<epoll_event, 64> events{};
    const int count = ::epoll_wait(epoll_.get(), events.data(), static_cast<int>(events.size()), 0);
    for (int i = 0; i < count; ++i) {
        const epoll_event& event = events[static_cast<std::size_t>(i)];
        const Token token = event.data.u64;
        if (token == posted_token) {
            drain(posted_signal_.get());
            run_posted();
            continue;
        }
        if (token == timer_token) {
            drain(timer_.get());
            run_due();
            continue;
        }
        // A watcher unwatched earlier in this batch hears nothing more.
        const auto found = watchers_.find(token);
        if (found == watchers_.end()) {
            continue;
        }
        Watcher* watcher = found->second.watcher;
        guarded({"socket event", {}}, [&] { watcher->ready(event.events); });
    }
    return count;
}

bool SocketEngine::wait(std::chrono::milliseconds timeout) {
    pollfd ready{epoll_.get(), POLLIN, 0};
    if (::poll(&ready, 1, static_cast<int>(timeout.count())) <= 0) {
        return false;
    }
    dispatch();
    return true;
}

void SocketEngine::run_posted() {
    // Calls posted by these calls wait for the next dispatch.
    std::deque<std::function<void()>> calls = std::exchange(posted_, {});
    for (std::function<void()>& call : calls) {
        guarded({"deferred socket event", {}}, call);
    }
}

void SocketEngine::run_due() {
    const Clock::time_point now = Clock::now();
    while (!deadlines_.empty() && deadlines_.begin()->first <= now) {
        const Token token = deadlines_.begin()->second;
        deadlines_.erase(deadlines_.begin());
        const auto found = delayed_.find(token);
        if (found == delayed_.end()) {
            continue;
        }
        std::function<void()> call = std::move(found->second);
        delayed_.erase(found);
        guarded({"socket timer", {}}, call);
    }
    arm_timer();
}

void SocketEngine::arm_timer() {
    // Cancelled deadlines at the front only wake the loop for nothing.
    while (!deadlines_.empty() && !delayed_.contains(deadlines_.begin()->second)) {
        deadlines_.erase(deadlines_.begin());
    }
    itimerspec when{};
    if (!deadlines_.empty()) {
        const auto left = std::max(deadlines_.begin()->first - Clock::now(), Clock::duration(1));
        const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(left);
        when.it_value.tv_sec = static_cast<time_t>(seconds.count());
        when.it_value.tv_nsec = static_cast<long>(
            std::chrono::duration_cast<std::chrono::nanoseconds>(left - seconds).count());
    }
    ::timerfd_settime(timer_.get(), 0, &when, nullptr);
}

}  // namespace platform::posix
