#pragma once

#include <string_view>

namespace platform::qt {

// Whether a host text can name a host at all: an address, or a host name made
// of labels of letters, digits, hyphens and underscores (bytes above 0x7F are
// let through for international names). Anything else is refused before a
// name server is asked, so that a mistyped setting never leaves the machine.
bool could_name_a_host(std::string_view host);

}  // namespace platform::qt
