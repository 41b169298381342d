#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform::pe {

// The whole content of the regular file at `path` (a link to one counts), or
// nothing when it is missing, not a regular file, unreadable or larger than
// `limit` bytes. Never throws.
std::optional<std::vector<std::uint8_t>> read_file_bytes(const std::string& path,
                                                         std::size_t limit);

}  // namespace platform::pe
