#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/program_location.h"

namespace platform::posix {

// What the layout depends on besides the program's own folder: the XDG base
// directory variables and the home folder, as the environment gives them.
struct Environment {
    std::optional<std::string> config_home;  // XDG_CONFIG_HOME
    std::optional<std::string> state_home;   // XDG_STATE_HOME
    std::string home;

    // This process's environment; the home folder from HOME, else the
    // password database. Throws platform::Failure when there is none.
    static Environment of_this_process();
};

// Where the program's things lie, decided by where the program lies.
//
// Installed: the executable lies in <prefix>/bin and <prefix>/lib/orvanta is
// a folder. Then NAVCTRL.OCX is looked for in <prefix>/lib/orvanta, the
// settings lie in $XDG_CONFIG_HOME/orvanta (~/.config/orvanta when the
// variable is unset, empty or not absolute) and the simulated navigator's
// state in $XDG_STATE_HOME/orvanta (~/.local/state/orvanta). A staged
// install (DESTDIR) is an installed prefix like any other.
//
// Portable, anywhere else (the build folder, a folder of its own): all of
// them are the program's folder, as they always were.
class FolderLayout : public platform::ProgramLocation {
  public:
    using IsFolder = std::function<bool(const std::string& path)>;

    FolderLayout(std::string program_folder, const Environment& environment,
                 const IsFolder& is_folder);
    // The layout of the running program, from /proc/self/exe. Throws
    // platform::Failure when its folder or the home folder cannot be told.
    static FolderLayout of_this_program();

    std::string system_folder() const override { return system_; }
    std::string settings_folder() const override { return settings_; }
    std::string state_folder() const override { return state_; }
    // Where the desktop looks for programs to start with the session
    // ($XDG_CONFIG_HOME/autostart), in either layout.
    std::string autostart_folder() const { return autostart_; }

  private:
    std::string system_;
    std::string settings_;
    std::string state_;
    std::string autostart_;
};

// The running program's executable, from /proc/self/exe; throws
// platform::Failure.
std::string executable_path();

}  // namespace platform::posix
