#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/pe/byte_view.h"

namespace platform::pe {

// The value at `sub_block` of a version record, as the ANSI Windows query
// gives it. The path names one key per level below the record, separated by
// '\' (a leading one, or doubled ones, change nothing; "\" alone is the
// record's own value, the fixed file information). Under StringFileInfo the
// value is text, returned in Windows-1252 with a terminating NUL; elsewhere it
// is the value's bytes as they are. Nothing when a name is missing or the
// record is malformed on the way to it.
std::optional<std::vector<std::uint8_t>> query_version_value(ByteView record,
                                                             std::string_view sub_block);

}  // namespace platform::pe
