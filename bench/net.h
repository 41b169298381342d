#pragma once

#include <netinet/in.h>

#include <cstdint>
#include <string_view>

#include "fd.h"

namespace bench {

// The address of `port` on 127.0.0.1; all of the benchmark's traffic stays there.
sockaddr_in loopback(std::uint16_t port);

// A socket listening at 127.0.0.1:port; throws std::system_error when the port is taken.
Fd listen_on_loopback(std::uint16_t port, int backlog, bool nonblocking);

// Whether a listener could take the port on all interfaces now, as Orvanta's does.
bool port_is_free(std::uint16_t port);

// Orvanta keeps its ports as 16-bit signed numbers, and ports below 1024 are
// the system's: a listener's port comes from this range.
inline constexpr std::uint16_t lowest_port = 1024;
inline constexpr std::uint16_t highest_port = 32767;

// A port and its upper neighbour, both free, picked at random from the range.
struct PortPair {
    std::uint16_t listen;
    std::uint16_t reply;
};
PortPair free_port_pair();

// Sends everything or throws std::system_error; never raises SIGPIPE.
void send_all(int fd, std::string_view text);

}  // namespace bench
