#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <random>

namespace test_support {

// Binds or connects `socket` (call is ::bind or ::connect) to 127.0.0.1 at port.
template <typename Call>
int at_loopback(Call call, int socket, std::uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return call(socket, reinterpret_cast<sockaddr*>(&address), sizeof address);
}

// A port that nothing uses on any address, other than `besides`. It is taken
// below 32768, the most that the 16-bit port settings hold, and below the
// range that the system hands out for outgoing connections, so that no
// connection of a test running beside this one takes it first.
inline std::uint16_t free_port(std::uint16_t besides = 0) {
    static std::mt19937 random{std::random_device{}()};
    std::uniform_int_distribution<int> ports(20000, 32000);
    for (int attempt = 0; attempt < 200; ++attempt) {
        const auto port = static_cast<std::uint16_t>(ports(random));
        const int probe = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(port);
        const bool free = port != besides &&
                          ::bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
        ::close(probe);
        if (free) {
            return port;
        }
    }
    return 0;
}

}  // namespace test_support
