#include "platform/posix/tcp.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>

#include <cerrno>
#include <cstring>

#include "platform/failure.h"

namespace platform::posix {

namespace {

constexpr std::size_t longest_name = 253;
constexpr std::size_t longest_label = 63;

bool is_label_byte(unsigned char byte) {
    return (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
           (byte >= '0' && byte <= '9') || byte == '-' || byte == '_' || byte >= 0x80;
}

bool is_label(std::string_view label) {
    if (label.empty() || label.size() > longest_label || label.front() == '-' ||
        label.back() == '-') {
        return false;
    }
    for (const char c : label) {
        if (!is_label_byte(static_cast<unsigned char>(c))) {
            return false;
        }
    }
    return true;
}

bool is_host_name(std::string_view name) {
    // One final dot is the fully qualified form of the same name.
    if (!name.empty() && name.back() == '.') {
        name.remove_suffix(1);
    }
    if (name.empty() || name.size() > longest_name) {
        return false;
    }
    for (;;) {
        const std::size_t dot = name.find('.');
        if (!is_label(name.substr(0, dot))) {
            return false;
        }
        if (dot == std::string_view::npos) {
            return true;
        }
        name.remove_prefix(dot + 1);
    }
}

// Requests answer at once; a connection has no use for Nagle's wait.
void no_delay(int fd) {
    const int on = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

Endpoint endpoint_at(const in_addr& host, std::uint16_t port) {
    Endpoint endpoint;
    auto& four = reinterpret_cast<sockaddr_in&>(endpoint.address);
    four.sin_family = AF_INET;
    four.sin_addr = host;
    four.sin_port = htons(port);
    endpoint.length = sizeof four;
    return endpoint;
}

Endpoint endpoint_at(const in6_addr& host, std::uint16_t port) {
    Endpoint endpoint;
    auto& six = reinterpret_cast<sockaddr_in6&>(endpoint.address);
    six.sin6_family = AF_INET6;
    six.sin6_addr = host;
    six.sin6_port = htons(port);
    endpoint.length = sizeof six;
    return endpoint;
}

Descriptor listening_socket(const Endpoint& endpoint, int backlog) {
    Descriptor fd(
        ::socket(endpoint.address.ss_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (!fd) {
        return fd;
    }
    const int on = 1;
    // A port just closed can be listened on again at once.
    ::setsockopt(fd.get(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    if (endpoint.address.ss_family == AF_INET6) {
        // IPv4 clients too, as mapped addresses.
        const int off = 0;
        ::setsockopt(fd.get(), IPPROTO_IPV6, IPV6_V6ONLY, &off, sizeof off);
    }
    const auto* address = reinterpret_cast<const sockaddr*>(&endpoint.address);
    if (::bind(fd.get(), address, endpoint.length) != 0 || ::listen(fd.get(), backlog) != 0) {
        fd.reset();
    }
    return fd;
}

}  // namespace

std::string address_text(const sockaddr* address) {
    char text[INET6_ADDRSTRLEN] = {};
    if (address->sa_family == AF_INET) {
        const auto* four = reinterpret_cast<const sockaddr_in*>(address);
        return ::inet_ntop(AF_INET, &four->sin_addr, text, sizeof text) ? text : "";
    }
    if (address->sa_family == AF_INET6) {
        const auto* six = reinterpret_cast<const sockaddr_in6*>(address);
        if (IN6_IS_ADDR_V4MAPPED(&six->sin6_addr)) {
            return ::inet_ntop(AF_INET, &six->sin6_addr.s6_addr[12], text, sizeof text) ? text : "";
        }
        return ::inet_ntop(AF_INET6, &six->sin6_addr, text, sizeof text) ? text : "";
    }
    return {};
}

Descriptor listen_on(std::uint16_t port, int backlog, const std::string& address) {
    Descriptor fd;
    if (!address.empty()) {
        in_addr only{};
        if (::inet_pton(AF_INET, address.c_str(), &only) != 1) {
            throw platform::Failure("cannot listen on " + address + ": no IPv4 address");
        }
        fd = listening_socket(endpoint_at(only, port), backlog);
    } else {
        fd = listening_socket(endpoint_at(in6addr_any, port), backlog);
        if (!fd && (errno == EAFNOSUPPORT || errno == EADDRNOTAVAIL)) {
            // A system without IPv6 listens on IPv4 alone.
            fd = listening_socket(endpoint_at(in_addr{htonl(INADDR_ANY)}, port), backlog);
        }
    }
    if (!fd) {
        throw platform::Failure("cannot listen on " + (address.empty() ? "" : address + " ") +
                                "port " + std::to_string(port) + ": " + std::strerror(errno));
    }
    return fd;
}

std::uint16_t local_port(int fd) {
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    if (::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        return 0;
    }
    if (address.ss_family == AF_INET6) {
        return ntohs(reinterpret_cast<const sockaddr_in6&>(address).sin6_port);
    }
    return ntohs(reinterpret_cast<const sockaddr_in&>(address).sin_port);
}

std::optional<Accepted> accept_one(int listener) {
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    const int fd = ::accept4(listener, reinterpret_cast<sockaddr*>(&address), &length,
                             SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0) {
        return std::nullopt;
    }
    no_delay(fd);
    return Accepted{Descriptor(fd), address_text(reinterpret_cast<sockaddr*>(&address))};
}

std::optional<Endpoint> endpoint_of(std::string_view host, std::uint16_t port) {
    const std::string text(host);
    if (in_addr four{}; ::inet_pton(AF_INET, text.c_str(), &four) == 1) {
        return endpoint_at(four, port);
    }
    if (in6_addr six{}; ::inet_pton(AF_INET6, text.c_str(), &six) == 1) {
        return endpoint_at(six, port);
    }
    return std::nullopt;
}

Descriptor start_connect(const Endpoint& endpoint) {
    Descriptor fd(
        ::socket(endpoint.address.ss_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (!fd) {
        return fd;
    }
    no_delay(fd.get());
    if (::connect(fd.get(), reinterpret_cast<const sockaddr*>(&endpoint.address),
                  endpoint.length) != 0 &&
        errno != EINPROGRESS) {
        fd.reset();
        return fd;
    }
    errno = 0;
    return fd;
}

int pending_error(int fd) {
    int error = 0;
    socklen_t length = sizeof error;
    if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0) {
        return errno;
    }
    return error;
}

bool would_block(int error) {
    return error == EAGAIN || error == EWOULDBLOCK || error == EINTR;
}

int send_some(int fd, std::string& bytes) {
    while (!bytes.empty()) {
        const ssize_t sent = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent < 0) {
            return would_block(errno) ? 0 : errno;
        }
        bytes.erase(0, static_cast<std::size_t>(sent));
    }
    return 0;
}

bool could_name_a_host(std::string_view host) {
    return endpoint_of(host, 0).has_value() || is_host_name(host);
}

WinsockError winsock_error(int error_number) {
    switch (error_number) {
        case ECONNREFUSED:
            return {10061, "Connection is forcefully rejected"};
        case ECONNRESET:
        case EPIPE:
            return {10054, "The connection is reset by remote side"};
        case ETIMEDOUT:
            return {10060, "Attempt to connect timed out"};
        case ENETUNREACH:
        case EHOSTUNREACH:
        case ENETDOWN:
            return {10051, "Network cannot be reached from this host at this time"};
        case EADDRINUSE:
            return {10048, "Address in use"};
        case EADDRNOTAVAIL:
            return {10049, "Address not available from the local machine"};
        case ENOBUFS:
        case ENOMEM:
            return {10055, "No buffer space is available"};
        default:
            return {10053, "Connection is aborted due to timeout or other failure"};
    }
}

WinsockError host_not_found() {
    return {11001, "Authoritative answer: Host not found"};
}

}  // namespace platform::posix
