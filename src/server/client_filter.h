#pragma once

#include <string>
#include <vector>

#include "util/ipv4.h"

namespace server {

// The clients the server talks to: those whose IPv4 address lies in one of
// the blocks orvanta.conf allows, or every client when it names none.
class ClientFilter {
  public:
    ClientFilter() = default;
    explicit ClientFilter(std::vector<util::Ipv4Block> allowed) : allowed_(std::move(allowed)) {}

    // Whether the server talks to a client at address (dotted decimal; any
    // other text, an IPv6 address among them, is no allowed address).
    bool allows(const std::string& address) const;

  private:
    std::vector<util::Ipv4Block> allowed_;
};

}  // namespace server
