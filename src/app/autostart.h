#pragma once

#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace app {

// The program's desktop entry in the folder where the desktop looks for
// what to start with the user's session ($XDG_CONFIG_HOME/autostart), which
// `orvanta --autostart on|off` writes and removes.
class Autostart {
  public:
    // The application's id, as the package's own desktop entry has it.
    static constexpr std::string_view file_name = "org.orvanta.Orvanta.desktop";

    Autostart(platform::FileSystem& files, std::string folder);

    // Writes the entry, starting the program at executable (an absolute
    // path, so that a program outside the search path starts too); what was
    // done, in words. Throws platform::Failure.
    std::string on(const std::string& executable);
    // Removes the entry if it is there; what was done, in words.
    std::string off();

  private:
    std::string path() const;

    platform::FileSystem& files_;
    std::string folder_;
};

// The text of the entry for the program at executable.
std::string autostart_entry(const std::string& executable);
// A path as one argument of a desktop entry's Exec key: '%' doubled (a
// field code otherwise), the whole in double quotes with '"', '`', '$' and
// '\' escaped when it holds a reserved character, and every backslash then
// doubled again, since the key's value is a string that is unescaped first.
// Throws platform::Failure for a path with control characters, which no
// Exec key can hold.
std::string exec_argument(const std::string& path);

}  // namespace app
