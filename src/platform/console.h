#pragma once

#include <string>

namespace platform {

// Where the program tells the operator, in words, what it could not do as
// asked when no window says it: standard error of a desktop session.
class Console {
  public:
    Console() = default;
    Console(const Console&) = delete;
    Console& operator=(const Console&) = delete;
    virtual ~Console() = default;

    // Writes one line, after the program's name.
    virtual void note(const std::string& line) = 0;
};

}  // namespace platform
