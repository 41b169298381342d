#include "server/client_filter.h"

#include <algorithm>

namespace server {

bool ClientFilter::allows(const std::string& address) const {
    if (allowed_.empty()) {
        return true;
    }
    const auto parsed = util::parse_ipv4(address);
    return parsed &&
           std::any_of(allowed_.begin(), allowed_.end(),
                       [&](const util::Ipv4Block& block) { return block.contains(*parsed); });
}

}  // namespace server
