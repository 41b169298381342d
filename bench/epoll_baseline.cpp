#include "epoll_baseline.h"

#include <netinet/in.h>
#include <sys/epoll.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string_view>
#include <system_error>

#include "net.h"

namespace bench {

namespace {

[[noreturn]] void fail(const char* what) {
    throw std::system_error(errno, std::generic_category(), what);
}

enum class Input { Open, Ended, Broken };

constexpr std::string_view status_keyword = "STATUS";

// Reads what is there, keeping it in `keyword` up to the keyword's length;
// how the connection stands afterwards.
Input drain(int fd, std::string& keyword) {
    char buffer[1024];
    for (;;) {
        const ssize_t got = ::recv(fd, buffer, sizeof buffer, 0);
        if (got == 0) {
            return Input::Ended;
        }
        if (got > 0) {
            const std::size_t room = status_keyword.size() - keyword.size();
            keyword.append(buffer, std::min(room, static_cast<std::size_t>(got)));
        }
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno == EAGAIN || errno == EWOULDBLOCK ? Input::Open : Input::Broken;
        }
    }
}

}  // namespace

EpollBaseline::EpollBaseline(Options options)
    : options_(std::move(options)), epoll_(::epoll_create1(EPOLL_CLOEXEC)) {
    if (!epoll_) {
        fail("epoll_create1");
    }
    for (int attempt = 0; attempt < 20 && !listener_; ++attempt) {
        const std::uint16_t port = free_port_pair().listen;
        try {
            listener_ = listen_on_loopback(port, 128, true);
            port_ = port;
        } catch (const std::system_error&) {
            // Taken between the look and the bind: try another.
        }
    }
    if (!listener_) {
        throw std::runtime_error("baseline: no port to listen on");
    }
    epoll_event event{};
    event.events = EPOLLIN;
    event.data.fd = listener_.get();
    if (::epoll_ctl(epoll_.get(), EPOLL_CTL_ADD, listener_.get(), &event) != 0) {
        fail("epoll_ctl");
    }
}

void EpollBaseline::serve_until(const std::function<bool()>& stop) {
    while (!stop()) {
        turn();
    }
}

void EpollBaseline::turn() {
    epoll_event events[64];
    // The timeout only bounds how late a stop is seen.
    const int ready = ::epoll_wait(epoll_.get(), events, 64, 5);
    if (ready < 0) {
        if (errno == EINTR) {
            return;
        }
        fail("epoll_wait");
    }
    // The sessions' data and ends first, then one new connection: the same
    // order as Orvanta's listener, which hands on one connection per turn so
    // that the sessions' events are seen in between.
    bool connection_waiting = false;
    for (int i = 0; i < ready; ++i) {
        const int fd = events[i].data.fd;
        if (fd == listener_.get()) {
            connection_waiting = true;
        } else if (roles_[static_cast<std::size_t>(fd)] == Role::Reply) {
            on_reply_ready(fd);
        } else if (roles_[static_cast<std::size_t>(fd)] != Role::Free) {
            on_readable(fd);
        }
    }
    if (connection_waiting) {
        accept_one();
    }
}

void EpollBaseline::accept_one() {
    const int fd = ::accept4(listener_.get(), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0) {
        return;  // gone before we looked, or out of descriptors: the next turn tries again
    }
    if (options_.session_limit > 0 && sessions_ >= options_.session_limit) {
        // The notice, then our end; the client's request is read and thrown
        // away until it closes, so that no reset destroys the notice.
        ++turned_away_;
        ::send(fd, busy_notice, std::strlen(busy_notice), MSG_NOSIGNAL);
        ::shutdown(fd, SHUT_WR);
        watch(fd, Role::Refused, EPOLLIN | EPOLLRDHUP);
        return;
    }
    ++sessions_;
    watch(fd, Role::Session, EPOLLIN | EPOLLRDHUP);
}

void EpollBaseline::watch(int fd, Role role, std::uint32_t events) {
    if (roles_.size() <= static_cast<std::size_t>(fd)) {
        roles_.resize(static_cast<std::size_t>(fd) + 1, Role::Free);
        keywords_.resize(roles_.size());
    }
    roles_[static_cast<std::size_t>(fd)] = role;
    keywords_[static_cast<std::size_t>(fd)].clear();
    epoll_event event{};
    event.events = events;
    event.data.fd = fd;
    if (::epoll_ctl(epoll_.get(), EPOLL_CTL_ADD, fd, &event) != 0) {
        fail("epoll_ctl");
    }
}

void EpollBaseline::forget(int fd) {
    roles_[static_cast<std::size_t>(fd)] = Role::Free;
    ::close(fd);
}

void EpollBaseline::on_readable(int fd) {
    const Input input = drain(fd, keywords_[static_cast<std::size_t>(fd)]);
    if (input == Input::Open) {
        return;
    }
    if (roles_[static_cast<std::size_t>(fd)] == Role::Session) {
        --sessions_;
        // Only a request that the client ended is processed; a reset one is not.
        if (input == Input::Ended) {
            on_request_end(fd);
        }
    }
    forget(fd);
}

void EpollBaseline::on_request_end(int fd) {
    ++processed_;
    last_processed_at_ = Clock::now();
    if (options_.reply_port && keywords_[static_cast<std::size_t>(fd)] == status_keyword) {
        start_reply(fd);
    }
}

void EpollBaseline::start_reply(int request_fd) {
    sockaddr_in client{};
    socklen_t size = sizeof client;
    if (::getpeername(request_fd, reinterpret_cast<sockaddr*>(&client), &size) != 0) {
        return;
    }
    client.sin_port = htons(*options_.reply_port);
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return;
    }
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&client), sizeof client) != 0 &&
        errno != EINPROGRESS) {
        ::close(fd);
        return;
    }
    watch(fd, Role::Reply, EPOLLOUT);
}

void EpollBaseline::on_reply_ready(int fd) {
    int error = 0;
    socklen_t size = sizeof error;
    ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size);
    if (error == 0) {
        ::send(fd, options_.reply.data(), options_.reply.size(), MSG_NOSIGNAL);
    }
    forget(fd);
}

}  // namespace bench
