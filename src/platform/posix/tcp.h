#pragma once

#include <sys/socket.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/posix/descriptor.h"

namespace platform::posix {

// The TCP calls the socket engine's Winsock needs, each on non-blocking,
// close-on-exec descriptors, none of them able to raise SIGPIPE.

// An address of either family, with its port.
struct Endpoint {
    sockaddr_storage address{};
    socklen_t length = 0;
};

// An address as the program shows it: dotted decimal for IPv4, also where an
// IPv4 client reaches an IPv6 listener (::ffff:a.b.c.d shows as a.b.c.d), and
// the usual text for IPv6.
std::string address_text(const sockaddr* address);

// Listens at port (0: any free port) on address, an IPv4 address, or on
// every interface, IPv6 and IPv4 alike where the system has both, when
// address is empty. Throws platform::Failure.
Descriptor listen_on(std::uint16_t port, int backlog, const std::string& address = {});
// The port a socket is bound to.
std::uint16_t local_port(int fd);

// A connection taken from a listener, with its peer's address as accept
// gave it: the address is known even when the client is already gone.
struct Accepted {
    Descriptor connection;
    std::string address;
};
// Takes one waiting connection; nothing when none waits. Sets errno to what
// stopped it (EAGAIN when nothing waits).
std::optional<Accepted> accept_one(int listener);

// The endpoint of an address text (IPv4 or IPv6) at port, or nothing when
// the text is no address.
std::optional<Endpoint> endpoint_of(std::string_view host, std::uint16_t port);
// Starts connecting to endpoint. On success the descriptor is connecting
// (or already connected) and errno is 0 or EINPROGRESS; on failure the
// descriptor is empty and errno says why.
Descriptor start_connect(const Endpoint& endpoint);
// The error a socket has met, as errno numbers (0 for none), clearing it.
int pending_error(int fd);

// Whether a call's errno only means "not now": it would block, or a signal
// cut it short.
bool would_block(int error);
// Sends as much of bytes as the socket takes now and drops that from bytes;
// 0, or the errno of a broken connection.
int send_some(int fd, std::string& bytes);

// Whether a host text can name a host at all: an address, or a host name made
// of labels of letters, digits, hyphens and underscores (bytes above 0x7F are
// let through for international names). Anything else is refused before a
// name server is asked, so that a mistyped setting never leaves the machine.
bool could_name_a_host(std::string_view host);

// A socket failure as the Winsock control reports it: its error number and
// a text for the user.
struct WinsockError {
    int number;
    std::string description;
};
// Winsock's number and text for a system error number:
//   ECONNREFUSED                10061  connection refused
//   ECONNRESET, EPIPE           10054  connection reset by the peer
//   ETIMEDOUT                   10060  timed out
//   ENETUNREACH, EHOSTUNREACH,
//   ENETDOWN                    10051  network unreachable
//   EADDRINUSE                  10048  address in use
//   EADDRNOTAVAIL               10049  address not available
//   ENOBUFS, ENOMEM             10055  no buffer space
//   anything else               10053  connection aborted
WinsockError winsock_error(int error_number);
// The error of a host that no name server knows, or that cannot be a host.
WinsockError host_not_found();

}  // namespace platform::posix
