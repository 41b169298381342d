#pragma once

#include <stdexcept>
#include <string>

namespace platform {

// Raised by any platform operation that fails. The logic reacts to it in one of
// two ways, chosen per procedure: skip the failing step (resume_next) or jump to
// a single reaction (a try block around the steps).
class Failure : public std::runtime_error {
  public:
    explicit Failure(const std::string& what) : std::runtime_error(what) {}
};

// Runs one step of a procedure that passes over failing steps.
template <typename Step>
void resume_next(Step&& step) {
    try {
        step();
    } catch (const Failure&) {
        // Passed over on purpose: the procedure goes on with its next step.
    }
}

// Evaluates the condition of an If in a procedure that passes over failing
// steps. A failing test resumes at the next statement, which is the first
// statement of the guarded branch, so a failure counts as "the branch runs".
template <typename Test>
bool holds_or_fails(Test&& test) {
    try {
        return test();
    } catch (const Failure&) {
        return true;
    }
}

}  // namespace platform
