#include "platform/posix/stderr_console.h"

#include <cstdio>

namespace platform::posix {

void StderrConsole::note(const std::string& line) {
    const std::string text = "orvanta: " + line + "\n";
    // One write, so that lines of other writers never cut into it; a closed
    // standard error is nothing to fail over.
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fflush(stderr);
}

}  // namespace platform::posix
