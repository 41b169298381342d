#include "client/tcp.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <climits>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <thread>

namespace client::tcp {

namespace {

Result failed(Problem problem, int error) {
    return Result{problem, std::strerror(error)};
}

// Waits until descriptor is ready for events, the deadline passes or
// interrupt (when not -1) becomes readable.
Result wait_for(int descriptor, short events, const Deadline& deadline, int interrupt) {
    for (;;) {
        std::array<pollfd, 2> watched = {{{descriptor, events, 0}, {interrupt, POLLIN, 0}}};
        const int ready = ::poll(watched.data(), watched.size(), deadline.poll_timeout());
        if (ready < 0) {
            if (errno == EINTR) {
                continue;
            }
            return failed(Problem::other, errno);
        }
        if (watched[1].revents != 0) {
            return Result{Problem::interrupted, "interrupted"};
        }
        if (watched[0].revents != 0) {
            return {};
        }
        if (ready == 0) {
            return Result{Problem::timed_out, "timed out"};
        }
    }
}

const sockaddr* as_socket_address(const sockaddr_in& address) {
    return reinterpret_cast<const sockaddr*>(&address);
}

Descriptor stream_socket() {
    return Descriptor(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
}

// A name lookup runs on a thread of its own, since the resolver has no time
// limit we could give it. If the deadline passes first the thread is left to
// finish on its own; what it finds then goes nowhere.
struct Lookup {
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    int status = 0;
    in_addr address{};
};

void look_up(const std::shared_ptr<Lookup>& lookup, const std::string& host) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const int status = ::getaddrinfo(host.c_str(), nullptr, &hints, &found);
    const std::lock_guard lock(lookup->mutex);
    lookup->status = status;
    if (status == 0) {
        sockaddr_in first{};
        std::memcpy(&first, found->ai_addr, sizeof first);
        lookup->address = first.sin_addr;
        ::freeaddrinfo(found);
    }
    lookup->done = true;
    lookup->finished.notify_all();
}

}  // namespace

Deadline Deadline::after(std::chrono::milliseconds span) {
    Deadline deadline;
    deadline.when_ = std::chrono::steady_clock::now() + span;
    deadline.limited_ = true;
    return deadline;
}

int Deadline::poll_timeout() const {
    if (!limited_) {
        return -1;
    }
    const auto left = when_ - std::chrono::steady_clock::now();
    if (left <= std::chrono::steady_clock::duration::zero()) {
        return 0;
    }
    // Rounded up, so that a wait never ends just before the moment.
    const auto milliseconds = std::chrono::ceil<std::chrono::milliseconds>(left).count();
    return milliseconds > INT_MAX ? INT_MAX : static_cast<int>(milliseconds);
}

Result resolve(const std::string& host, std::uint16_t port, const Deadline& deadline,
               sockaddr_in& address) {
    address = sockaddr_in{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    if (::inet_pton(AF_INET, host.c_str(), &address.sin_addr) == 1) {
        return {};
    }
    auto lookup = std::make_shared<Lookup>();
    std::thread(look_up, lookup, host).detach();
    std::unique_lock lock(lookup->mutex);
    const auto done = [&] { return lookup->done; };
    if (deadline.limited()) {
        lookup->finished.wait_until(lock, deadline.when(), done);
    } else {
        lookup->finished.wait(lock, done);
    }
    if (!lookup->done) {
        return Result{Problem::unreachable, "the name lookup took too long"};
    }
    if (lookup->status != 0) {
        return Result{Problem::unreachable, ::gai_strerror(lookup->status)};
    }
    address.sin_addr = lookup->address;
    return {};
}

Result local_address_towards(const sockaddr_in& peer, in_addr& local) {
    // Connecting a datagram socket only picks the route and the source
    // address; no packet leaves.
    const Descriptor probe(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0));
    if (!probe) {
        return failed(Problem::other, errno);
    }
    if (::connect(probe.get(), as_socket_address(peer), sizeof peer) != 0) {
        return failed(Problem::unreachable, errno);
    }
    sockaddr_in own{};
    socklen_t length = sizeof own;
    if (::getsockname(probe.get(), reinterpret_cast<sockaddr*>(&own), &length) != 0) {
        return failed(Problem::other, errno);
    }
    local = own.sin_addr;
    return {};
}

Result listen_on(const sockaddr_in& address, Descriptor& listener) {
    Descriptor socket = stream_socket();
    if (!socket) {
        return failed(Problem::other, errno);
    }
    // Lets a second run use the port while the first run's connections are
    // still in TIME_WAIT; another socket listening on it still keeps us out.
    const int reuse = 1;
    ::setsockopt(socket.get(), SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof reuse);
    if (::bind(socket.get(), as_socket_address(address), sizeof address) != 0) {
        return failed(errno == EADDRINUSE ? Problem::in_use : Problem::other, errno);
    }
    if (::listen(socket.get(), 16) != 0) {
        return failed(errno == EADDRINUSE ? Problem::in_use : Problem::other, errno);
    }
    listener = std::move(socket);
    return {};
}

Result connect_to(const sockaddr_in& address, const Deadline& deadline, Descriptor& connection) {
    Descriptor socket = stream_socket();
    if (!socket) {
        return failed(Problem::other, errno);
    }
    if (::connect(socket.get(), as_socket_address(address), sizeof address) != 0) {
        if (errno != EINPROGRESS && errno != EINTR) {
            return failed(Problem::unreachable, errno);
        }
        const Result ready = wait_for(socket.get(), POLLOUT, deadline, -1);
        if (ready.problem == Problem::timed_out) {
            return Result{Problem::unreachable, "no answer"};
        }
        if (!ready.ok()) {
            return ready;
        }
        int error = 0;
        socklen_t length = sizeof error;
        if (::getsockopt(socket.get(), SOL_SOCKET, SO_ERROR, &error, &length) != 0) {
            return failed(Problem::other, errno);
        }
        // Taken and at once reset: someone answered, but not to talk.
        if (error == ECONNRESET) {
            return Result{Problem::reset, "connection reset"};
        }
        if (error != 0) {
            return failed(Problem::unreachable, error);
        }
    }
    connection = std::move(socket);
    return {};
}

Result send_all(const Descriptor& connection, std::string_view bytes, const Deadline& deadline) {
    while (!bytes.empty()) {
        const ssize_t sent = ::send(connection.get(), bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent >= 0) {
            bytes.remove_prefix(static_cast<std::size_t>(sent));
            continue;
        }
        if (errno == EINTR) {
            continue;
        }
        if (errno == ECONNRESET || errno == EPIPE) {
            return Result{Problem::reset, "connection reset"};
        }
        if (errno != EAGAIN && errno != EWOULDBLOCK) {
            return failed(Problem::other, errno);
        }
        const Result ready = wait_for(connection.get(), POLLOUT, deadline, -1);
        if (!ready.ok()) {
            return ready;
        }
    }
    return {};
}

Result shut_sending(const Descriptor& connection) {
    if (::shutdown(connection.get(), SHUT_WR) != 0) {
        // Not connected any more: the peer has reset the connection.
        return errno == ENOTCONN ? Result{Problem::reset, "connection reset"}
                                 : failed(Problem::other, errno);
    }
    return {};
}

Result accept_one(const Descriptor& listener, const Deadline& deadline, int interrupt,
                  Descriptor& connection) {
    for (;;) {
        const int accepted =
            ::accept4(listener.get(), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (accepted >= 0) {
            connection = Descriptor(accepted);
            return {};
        }
        // A connection that was reset while it waited is simply gone.
        if (errno == EINTR || errno == ECONNABORTED) {
            continue;
        }
        if (errno != EAGAIN && errno != EWOULDBLOCK) {
            return failed(Problem::other, errno);
        }
        const Result ready = wait_for(listener.get(), POLLIN, deadline, interrupt);
        if (!ready.ok()) {
            return ready;
        }
    }
}

Result read_to_end(const Descriptor& connection, const Deadline& deadline, int interrupt,
                   std::size_t limit, std::string& text) {
    text.clear();
    std::array<char, 4096> buffer{};
    for (;;) {
        const ssize_t received = ::recv(connection.get(), buffer.data(), buffer.size(), 0);
        if (received == 0) {
            return {};
        }
        if (received > 0) {
            text.append(buffer.data(), static_cast<std::size_t>(received));
            if (text.size() > limit) {
                text.resize(limit);
                return Result{Problem::too_long, "more than " + std::to_string(limit) + " bytes"};
            }
            continue;
        }
        if (errno == EINTR) {
            continue;
        }
        // A peer that closes without reading what we sent resets the
        // connection; what it sent before is all there is.
        if (errno == ECONNRESET) {
            return text.empty() ? Result{Problem::reset, "connection reset"} : Result{};
        }
        if (errno != EAGAIN && errno != EWOULDBLOCK) {
            return failed(Problem::other, errno);
        }
        const Result ready = wait_for(connection.get(), POLLIN, deadline, interrupt);
        if (!ready.ok()) {
            return ready;
        }
    }
}

std::string address_text(const sockaddr_in& address) {
    std::array<char, INET_ADDRSTRLEN> text{};
    ::inet_ntop(AF_INET, &address.sin_addr, text.data(), text.size());
    return std::string(text.data()) + ":" + std::to_string(ntohs(address.sin_port));
}

}  // namespace client::tcp
