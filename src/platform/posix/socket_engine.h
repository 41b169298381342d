#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <unordered_map>

#include "platform/posix/descriptor.h"

namespace platform::posix {

// Told what epoll reports for the descriptor it watches.
class Watcher {
  public:
    Watcher() = default;
    Watcher(const Watcher&) = delete;
    Watcher& operator=(const Watcher&) = delete;
    virtual ~Watcher() = default;

    // The descriptor is ready: events are epoll's EPOLLIN, EPOLLOUT, ... It
    // may stop watching, watch others, or end the watcher.
    virtual void ready(std::uint32_t events) = 0;
};

// The program's sockets on one epoll set, on the one thread of the program.
// Whoever runs the event loop watches descriptor() for reading and calls
// dispatch() when it is readable; dispatch handles what is ready in the
// order the kernel reports it (epoll's ready list is first come, first
// served), never waits, and never lets an exception out. Descriptors are
// watched level-triggered: what is left unhandled is reported again.
//
// Beside the sockets it runs calls posted for later (an event that a method
// must not raise itself) and calls due after a delay, both from dispatch,
// after what was ready when they were posted or fell due.
class SocketEngine {
  public:
    using Token = std::uint64_t;

    // Throws platform::Failure when the system gives no epoll set.
    SocketEngine();
    SocketEngine(const SocketEngine&) = delete;
    SocketEngine& operator=(const SocketEngine&) = delete;
    ~SocketEngine();

    // The epoll descriptor: readable while something is ready.
    int descriptor() const { return epoll_.get(); }

    // Watches fd for the epoll events given (0 for none for now). The
    // watcher must stay until unwatch. Throws platform::Failure.
    Token watch(int fd, std::uint32_t events, Watcher& watcher);
    // Watches for other events.
    void change(Token token, std::uint32_t events);
    // Stops watching, before the descriptor is closed: from here on not even
    // an event already fetched in the running dispatch reaches the watcher.
    void unwatch(Token token) noexcept;

    // Runs call from a later dispatch, after what is ready now; calls run in
    // the order they were posted.
    void post(std::function<void()> call);
    // Runs call from the first dispatch after delay; cancel() stops it.
    Token after(std::chrono::milliseconds delay, std::function<void()> call);
    void cancel(Token timer) noexcept;

    // Handles what is ready now, and what that makes ready, for a few rounds
    // at most; returns at once when nothing is.
    void dispatch();
    // Counts the dispatches, so that a watcher can do something once a pass.
    unsigned long pass() const { return pass_; }
    // Waits up to timeout for something to be ready and handles it; whether
    // anything was. For programs and tests without an event loop of their own.
    bool wait(std::chrono::milliseconds timeout);

  private:
    using Clock = std::chrono::steady_clock;

    // One round of dispatch: how many events there were.
    int handle_ready();
    void run_posted();
    void run_due();
    void arm_timer();

    Descriptor epoll_;
    Descriptor posted_signal_;
    Descriptor timer_;
    struct Watched {
        int fd;
        Watcher* watcher;
    };
    std::unordered_map<Token, Watched> watchers_;
    std::deque<std::function<void()>> posted_;
    std::multimap<Clock::time_point, Token> deadlines_;
    std::unordered_map<Token, std::function<void()>> delayed_;
    Token next_token_ = first_token;
    unsigned long pass_ = 0;

    static constexpr int rounds_per_pass = 4;

    static constexpr Token posted_token = 1;
    static constexpr Token timer_token = 2;
    static constexpr Token first_token = 3;
};

}  // namespace platform::posix
