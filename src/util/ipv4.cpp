#include "util/ipv4.h"

#include "util/text.h"

namespace util {

namespace {

// A decimal number up to most, without a leading zero.
std::optional<unsigned long> number(std::string_view text, unsigned long most) {
    if (text.size() > 1 && text.front() == '0') {
        return std::nullopt;
    }
    return parse_decimal(text, most);
}

}  // namespace

std::optional<std::uint32_t> parse_ipv4(std::string_view text) {
    std::uint32_t address = 0;
    for (int part = 0; part < 4; ++part) {
        const std::size_t dot = text.find('.');
        if ((part < 3) == (dot == std::string_view::npos)) {
            return std::nullopt;
        }
        const auto octet = number(text.substr(0, dot), 255);
        if (!octet) {
            return std::nullopt;
        }
        address = (address << 8) | static_cast<std::uint32_t>(*octet);
        text = part < 3 ? text.substr(dot + 1) : std::string_view();
    }
    return address;
}

bool Ipv4Block::contains(std::uint32_t address) const {
    const std::uint32_t mask = prefix == 0 ? 0 : ~std::uint32_t{0} << (32 - prefix);
    return (address & mask) == (network & mask);
}

std::optional<Ipv4Block> parse_ipv4_block(std::string_view text) {
    const std::size_t slash = text.find('/');
    const auto address = parse_ipv4(text.substr(0, slash));
    if (!address) {
        return std::nullopt;
    }
    if (slash == std::string_view::npos) {
        return Ipv4Block{*address, 32};
    }
    const auto prefix = number(text.substr(slash + 1), 32);
    if (!prefix) {
        return std::nullopt;
    }
    return Ipv4Block{*address, static_cast<int>(*prefix)};
}

std::optional<Ipv4Endpoint> parse_ipv4_endpoint(std::string_view text) {
    const std::size_t colon = text.rfind(':');
    if (colon == std::string_view::npos || !parse_ipv4(text.substr(0, colon))) {
        return std::nullopt;
    }
    const auto port = number(text.substr(colon + 1), 65535);
    if (!port || *port == 0) {
        return std::nullopt;
    }
    return Ipv4Endpoint{std::string(text.substr(0, colon)), static_cast<std::uint16_t>(*port)};
}

}  // namespace util
