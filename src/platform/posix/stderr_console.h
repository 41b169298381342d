#pragma once

#include "platform/console.h"

namespace platform::posix {

// Notes go to standard error as "orvanta: <line>", each written whole.
class StderrConsole : public platform::Console {
  public:
    void note(const std::string& line) override;
};

}  // namespace platform::posix
