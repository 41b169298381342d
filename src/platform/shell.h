#pragma once

#include <string>

namespace platform {

// Starts other programs of the desktop on the user's behalf.
class Shell {
  public:
    Shell() = default;
    Shell(const Shell&) = delete;
    Shell& operator=(const Shell&) = delete;
    virtual ~Shell() = default;

    // Opens a web address in the user's browser, without waiting for it.
    // Throws platform::Failure when no program could be started for it.
    virtual void open_address(const std::string& address) = 0;
};

}  // namespace platform
