#pragma once

#include <cstdint>
#include <string>

#include "platform/forms/label.h"

namespace info {

// The program's own version.
struct ProgramVersion {
    std::int16_t major = 1;
    std::int16_t minor = 0;
    std::int16_t revision = 0;
};

// "v", the major number, ".", then the minor and revision numbers run
// together: "v1.00" for 1.0.0, "v1.215" for 1.2.15.
std::string version_caption(const ProgramVersion& version);

// Places lblVERSION over a window's picture.
void place_version_label(platform::Label& label, int left, int top);

// The start procedure of the windows that show the version; a failure leaves
// the design caption.
void show_version(platform::Label& label, const ProgramVersion& version);

}  // namespace info
