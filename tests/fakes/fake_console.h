#pragma once

#include <string>
#include <vector>

#include "platform/console.h"

namespace fakes {

// Keeps the lines noted, in order.
class FakeConsole : public platform::Console {
  public:
    std::vector<std::string> lines;

    void note(const std::string& line) override { lines.push_back(line); }
};

}  // namespace fakes
