#include "load_client.h"

#include <sys/epoll.h>
#include <sys/socket.h>

#include <cerrno>
#include <chrono>
#include <stdexcept>
#include <system_error>
#include <vector>

#include "fd.h"
#include "net.h"

namespace bench {

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::string_view busy_notice = "MAXIMUM CONCURRENT SESSIONS REACHED";
// More than any answer we expect; the rest is not kept.
constexpr std::size_t kept_bytes = 256;
constexpr std::chrono::seconds stall_limit{10};

struct Request {
    Fd fd;
    std::string received;
    bool sent = false;
    // The connection failed as the request was sent: refused or reset.
    bool broken = false;
};

class Load {
  public:
    explicit Load(const LoadOptions& options)
        : options_(options),
          epoll_(::epoll_create1(EPOLL_CLOEXEC)),
          requests_(static_cast<std::size_t>(options.in_flight)) {
        if (!epoll_) {
            throw std::system_error(errno, std::generic_category(), "epoll_create1");
        }
        if (options.in_flight < 1 || options.requests < 0) {
            throw std::invalid_argument("run_load: at least one request in flight");
        }
    }

    LoadResult run() {
        const auto start = Clock::now();
        for (std::size_t slot = 0; slot < requests_.size(); ++slot) {
            fill(slot);
        }
        std::vector<epoll_event> events(requests_.size());
        auto last_progress = Clock::now();
        while (result_.total() < options_.requests) {
            const int ready =
                ::epoll_wait(epoll_.get(), events.data(), static_cast<int>(events.size()), 1000);
            if (ready < 0 && errno != EINTR) {
                throw std::system_error(errno, std::generic_category(), "epoll_wait");
            }
            const int ended_before = result_.total();
            for (int i = 0; i < ready; ++i) {
                handle(events[static_cast<std::size_t>(i)].data.u32,
                       events[static_cast<std::size_t>(i)].events);
            }
            const auto now = Clock::now();
            if (result_.total() != ended_before) {
                last_progress = now;
            } else if (now - last_progress > stall_limit) {
                throw std::runtime_error("run_load: no request ended for ten seconds (" +
                                         std::to_string(result_.total()) + " of " +
                                         std::to_string(options_.requests) + " done)");
            }
        }
        result_.seconds = std::chrono::duration<double>(Clock::now() - start).count();
        return result_;
    }

  private:
    // Starts the next request in the slot, if any are left.
    void fill(std::size_t slot) {
        while (started_ < options_.requests) {
            if (begin(slot)) {
                return;
            }
            result_.count(Ending::Reset);
        }
    }

    // False when the connection was refused at once.
    bool begin(std::size_t slot) {
        Request& request = requests_[slot];
        ++started_;
        request.received.clear();
        request.sent = false;
        request.broken = false;
        request.fd.reset(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
        if (!request.fd) {
            throw std::system_error(errno, std::generic_category(), "socket");
        }
        const sockaddr_in address = loopback(options_.port);
        if (::connect(request.fd.get(), reinterpret_cast<const sockaddr*>(&address),
                      sizeof address) != 0 &&
            errno != EINPROGRESS) {
            if (errno == EADDRNOTAVAIL) {
                throw std::system_error(errno, std::generic_category(), "connect");
            }
            request.fd.reset();
            return false;
        }
        // On this machine the connection is usually up by now, and a client
        // such as orvanta-client sends at once; only when it is not, the
        // request waits until the socket can be written.
        const bool sent = try_send(request);
        epoll_event event{};
        event.events = sent ? EPOLLIN | EPOLLRDHUP : EPOLLIN | EPOLLOUT | EPOLLRDHUP;
        event.data.u32 = static_cast<std::uint32_t>(slot);
        if (::epoll_ctl(epoll_.get(), EPOLL_CTL_ADD, request.fd.get(), &event) != 0) {
            throw std::system_error(errno, std::generic_category(), "epoll_ctl");
        }
        return true;
    }

    // Sends the request and ends the sending side; false when the connection
    // is still being made. A send that fails otherwise means the server has
    // gone already; what it said before going is still there to read.
    bool try_send(Request& request) {
        if (::send(request.fd.get(), options_.request.data(), options_.request.size(),
                   MSG_NOSIGNAL) < 0) {
            if (errno == EAGAIN || errno == EWOULDBLOCK || errno == ENOTCONN) {
                return false;
            }
            request.broken = true;
        }
        ::shutdown(request.fd.get(), SHUT_WR);
        request.sent = true;
        return true;
    }

    void handle(std::size_t slot, std::uint32_t events) {
        Request& request = requests_[slot];
        if (!request.sent) {
            if ((events & (EPOLLOUT | EPOLLERR | EPOLLHUP)) == 0) {
                return;
            }
            int error = 0;
            socklen_t size = sizeof error;
            ::getsockopt(request.fd.get(), SOL_SOCKET, SO_ERROR, &error, &size);
            if (error != 0) {
                end(slot, Ending::Reset);
                return;
            }
            if (!try_send(request)) {
                return;
            }
            epoll_event event{};
            event.events = EPOLLIN | EPOLLRDHUP;
            event.data.u32 = static_cast<std::uint32_t>(slot);
            ::epoll_ctl(epoll_.get(), EPOLL_CTL_MOD, request.fd.get(), &event);
        }
        read(slot);
    }

    void read(std::size_t slot) {
        Request& request = requests_[slot];
        char buffer[512];
        for (;;) {
            const ssize_t got = ::recv(request.fd.get(), buffer, sizeof buffer, 0);
            if (got > 0) {
                const std::size_t room = kept_bytes - std::min(kept_bytes, request.received.size());
                request.received.append(buffer, std::min(room, static_cast<std::size_t>(got)));
            } else if (got == 0) {
                end(slot, classify(request.received, request.broken));
                return;
            } else if (errno == EAGAIN || errno == EWOULDBLOCK) {
                return;
            } else if (errno != EINTR) {
                end(slot, classify(request.received, true));
                return;
            }
        }
    }

    void end(std::size_t slot, Ending ending) {
        requests_[slot].fd.reset();
        result_.count(ending);
        fill(slot);
    }

    const LoadOptions& options_;
    Fd epoll_;
    std::vector<Request> requests_;
    int started_ = 0;
    LoadResult result_;
};

}  // namespace

Ending classify(std::string_view received, bool reset) {
    if (received.substr(0, busy_notice.size()) == busy_notice) {
        return Ending::TurnedAway;
    }
    if (reset) {
        return Ending::Reset;
    }
    return received.empty() ? Ending::Taken : Ending::Other;
}

void LoadResult::count(Ending ending) {
    switch (ending) {
        case Ending::Taken:
            ++taken;
            break;
        case Ending::TurnedAway:
            ++turned_away;
            break;
        case Ending::Reset:
            ++reset;
            break;
        case Ending::Other:
            ++other;
            break;
    }
}

LoadResult run_load(const LoadOptions& options) {
    return Load(options).run();
}

}  // namespace bench
