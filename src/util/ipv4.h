#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace util {

// An IPv4 address in dotted decimal, strictly: four numbers from 0 to 255,
// digits alone, no leading zeros (which some readers take for octal).
std::optional<std::uint32_t> parse_ipv4(std::string_view text);

// A block of IPv4 addresses: an address alone, or one with a prefix length
// ("192.168.1.0/24").
struct Ipv4Block {
    std::uint32_t network = 0;
    int prefix = 32;

    bool contains(std::uint32_t address) const;
    bool operator==(const Ipv4Block&) const = default;
};
std::optional<Ipv4Block> parse_ipv4_block(std::string_view text);

// An address and a port, "127.0.0.1:9100"; the port from 1 to 65535.
struct Ipv4Endpoint {
    std::string address;
    std::uint16_t port = 0;

    bool operator==(const Ipv4Endpoint&) const = default;
};
std::optional<Ipv4Endpoint> parse_ipv4_endpoint(std::string_view text);

}  // namespace util
