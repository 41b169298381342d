#pragma once

#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace app {

// Writes bytes to a temporary file in folder, then puts it in place of
// target in one step, so that no reader ever finds half of it. The temporary
// file goes again whichever way the writing ends. Throws platform::Failure.
void write_whole(platform::FileSystem& files, const std::string& folder, const std::string& target,
                 std::string_view bytes);

}  // namespace app
