#include "round_trip.h"

#include <poll.h>
#include <sys/socket.h>

#include <cerrno>
#include <stdexcept>
#include <system_error>

#include "fd.h"
#include "net.h"

namespace bench {

namespace {

using Clock = std::chrono::steady_clock;

void wait_readable(int fd, Clock::time_point deadline, const char* what) {
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            throw std::runtime_error(std::string("round trip: timed out waiting for ") + what);
        }
        pollfd entry{fd, POLLIN, 0};
        const int ready = ::poll(&entry, 1, static_cast<int>(left.count()));
        if (ready > 0) {
            return;
        }
        if (ready < 0 && errno != EINTR) {
            throw std::system_error(errno, std::generic_category(), "poll");
        }
    }
}

// Reads until the peer closes.
std::string read_to_end(int fd, Clock::time_point deadline, const char* what) {
    std::string text;
    char buffer[256];
    for (;;) {
        wait_readable(fd, deadline, what);
        const ssize_t got = ::recv(fd, buffer, sizeof buffer, MSG_DONTWAIT);
        if (got > 0) {
            text.append(buffer, static_cast<std::size_t>(got));
        } else if (got == 0) {
            return text;
        } else if (errno != EAGAIN && errno != EINTR) {
            throw std::system_error(errno, std::generic_category(),
                                    std::string("round trip: reading ") + what);
        }
    }
}

Fd send_request(const RoundTripOptions& options) {
    Fd fd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (!fd) {
        throw std::system_error(errno, std::generic_category(), "socket");
    }
    const sockaddr_in address = loopback(options.server_port);
    if (::connect(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        throw std::system_error(errno, std::generic_category(), "round trip: connect");
    }
    send_all(fd.get(), options.request);
    return fd;
}

}  // namespace

std::vector<double> run_round_trips(const RoundTripOptions& options) {
    const Fd replies = listen_on_loopback(options.reply_port, 16, false);
    std::vector<double> microseconds;
    microseconds.reserve(static_cast<std::size_t>(options.requests));
    for (int i = 0; i < options.requests; ++i) {
        const Fd request = send_request(options);
        // The time is taken before the end, not after: the end wakes the
        // server, which may do all its work before this thread runs again.
        const auto sent = Clock::now();
        ::shutdown(request.get(), SHUT_WR);
        const auto deadline = sent + options.patience;

        wait_readable(replies.get(), deadline, "the reply connection");
        const Fd reply(::accept4(replies.get(), nullptr, nullptr, SOCK_CLOEXEC));
        if (!reply) {
            throw std::system_error(errno, std::generic_category(), "round trip: accept");
        }
        const std::string text = read_to_end(reply.get(), deadline, "the reply");
        microseconds.push_back(
            std::chrono::duration<double, std::micro>(Clock::now() - sent).count());
        if (text != options.expected_reply) {
            throw std::runtime_error("round trip: reply \"" + text + "\", expected \"" +
                                     options.expected_reply + "\"");
        }
        // The server ends the request connection too; the next request
        // starts only after that.
        const std::string answer = read_to_end(request.get(), deadline, "the request's close");
        if (!answer.empty()) {
            throw std::runtime_error("round trip: the request was answered with \"" + answer +
                                     "\"");
        }
    }
    return microseconds;
}

}  // namespace bench
