#include "net.h"

#include <arpa/inet.h>
#include <sys/socket.h>

#include <cerrno>
#include <random>
#include <stdexcept>
#include <system_error>

namespace bench {

namespace {

[[noreturn]] void fail(const char* what) {
    throw std::system_error(errno, std::generic_category(), what);
}

void reuse_address(int fd) {
    const int on = 1;
    if (::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0) {
        fail("setsockopt(SO_REUSEADDR)");
    }
}

}  // namespace

sockaddr_in loopback(std::uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

Fd listen_on_loopback(std::uint16_t port, int backlog, bool nonblocking) {
    Fd fd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | (nonblocking ? SOCK_NONBLOCK : 0), 0));
    if (!fd) {
        fail("socket");
    }
    reuse_address(fd.get());
    const sockaddr_in address = loopback(port);
    if (::bind(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        fail("bind");
    }
    if (::listen(fd.get(), backlog) != 0) {
        fail("listen");
    }
    return fd;
}

bool port_is_free(std::uint16_t port) {
    // Orvanta listens on all interfaces, IPv6 included; binding the IPv6
    // wildcard without IPV6_V6ONLY takes the IPv4 port as well.
    Fd fd(::socket(AF_INET6, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (!fd) {
        return false;
    }
    reuse_address(fd.get());
    sockaddr_in6 address{};
    address.sin6_family = AF_INET6;
    address.sin6_port = htons(port);
    address.sin6_addr = in6addr_any;
    return ::bind(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
           ::listen(fd.get(), 1) == 0;
}

PortPair free_port_pair() {
    std::random_device seed;
    std::mt19937 random(seed());
    std::uniform_int_distribution<int> pick(lowest_port, highest_port - 1);
    for (int attempt = 0; attempt < 500; ++attempt) {
        const auto port = static_cast<std::uint16_t>(pick(random));
        const auto next = static_cast<std::uint16_t>(port + 1);
        if (port_is_free(port) && port_is_free(next)) {
            return {port, next};
        }
    }
    throw std::runtime_error("no two free neighbouring ports between 1024 and 32767");
}

void send_all(int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t sent = ::send(fd, text.data(), text.size(), MSG_NOSIGNAL);
        if (sent < 0) {
            if (errno == EINTR) {
                continue;
            }
            fail("send");
        }
        text.remove_prefix(static_cast<std::size_t>(sent));
    }
}

}  // namespace bench
