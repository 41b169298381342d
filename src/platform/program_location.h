#pragma once

#include <string>

namespace platform {

// Where the program is installed.
class ProgramLocation {
  public:
    ProgramLocation() = default;
    ProgramLocation(const ProgramLocation&) = delete;
    ProgramLocation& operator=(const ProgramLocation&) = delete;
    virtual ~ProgramLocation() = default;

    // The folder of the executable, without a trailing '/' (except "/" itself).
    virtual std::string program_folder() const = 0;
};

}  // namespace platform
