#include "info/version_label.h"

#include "platform/failure.h"

namespace info {

std::string version_caption(const ProgramVersion& version) {
    // Appended piece by piece: GCC 12 at -O3 takes "v" + std::string for
    // overlapping copies (-Wrestrict).
    std::string caption = "v";
    caption += std::to_string(version.major);
    caption += '.';
    caption += std::to_string(version.minor);
    caption += std::to_string(version.revision);
    return caption;
}

void place_version_label(platform::Label& label, int left, int top) {
    label.set_geometry({left, top, 1215, 255});
    label.set_transparent(true);
    label.set_colors(platform::colors::white, platform::colors::black);
    label.set_caption("vX.XX");
}

void show_version(platform::Label& label, const ProgramVersion& version) {
    platform::resume_next([&] { label.set_caption(version_caption(version)); });
}

}  // namespace info
