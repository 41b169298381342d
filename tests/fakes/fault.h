#pragma once

#include <string>

#include "platform/failure.h"

namespace fakes {

// Counts the calls of one operation of a test double and makes the chosen
// ones fail with platform::Failure.
class Fault {
  public:
    // Every call fails from now on.
    void always() { after(0); }
    // Calls succeed until n more have been made; the ones after that fail.
    void after(int n) {
        first_failing_ = calls_ + n + 1;
        last_failing_ = 0;
    }
    // After n more calls succeed, the next one alone fails.
    void just(int n) {
        first_failing_ = calls_ + n + 1;
        last_failing_ = first_failing_;
    }
    // No call fails any more.
    void never() {
        first_failing_ = 0;
        last_failing_ = 0;
    }

    int calls() const { return calls_; }

    // Records a call; throws when this call is one that must fail.
    void check(const std::string& operation) {
        ++calls_;
        if (first_failing_ != 0 && calls_ >= first_failing_ &&
            (last_failing_ == 0 || calls_ <= last_failing_)) {
            throw platform::Failure(operation + " failed (test double)");
        }
    }

  private:
    int calls_ = 0;
    int first_failing_ = 0;  // 0: nothing fails
    int last_failing_ = 0;   // 0: no end to the failing calls
};

}  // namespace fakes
