#pragma once

#include <string>

namespace platform {

// Where the program finds what belongs to it. Run from a folder of its own
// (the portable layout) all three are that folder; installed, they are where
// the system keeps such things (platform::posix::FolderLayout). Paths come
// without a trailing '/' (except "/" itself); each throws platform::Failure
// when it cannot be told.
class ProgramLocation {
  public:
    ProgramLocation() = default;
    ProgramLocation(const ProgramLocation&) = delete;
    ProgramLocation& operator=(const ProgramLocation&) = delete;
    virtual ~ProgramLocation() = default;

    // Where the navigator control NAVCTRL.OCX is installed: the system directory.
    virtual std::string system_folder() const = 0;
    // Where Orvanta.ini and orvanta.conf lie; it need not exist yet.
    virtual std::string settings_folder() const = 0;
    // Where the simulated navigator keeps its state; it need not exist yet.
    virtual std::string state_folder() const = 0;
};

}  // namespace platform
