#pragma once

#include <map>
#include <string>

#include "platform/console.h"

namespace platform::nm {

// Tells the operator of each problem once: the same line on the same
// subject is not repeated until that subject has gone well in between, so a
// refused dial that auto-redial repeats at every poll shows one line.
class ProblemNotes {
  public:
    explicit ProblemNotes(Console& console) : console_(console) {}

    void tell(const std::string& subject, const std::string& line);
    // The subject went well: its next problem is told again.
    void settled(const std::string& subject) { told_.erase(subject); }

  private:
    Console& console_;
    std::map<std::string, std::string> told_;
};

}  // namespace platform::nm
