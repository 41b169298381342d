#pragma once

#include <functional>
#include <utility>

#include "platform/events.h"

namespace fakes {

// Counts the calls to do_events and runs what the test has queued as
// "pending events" for the next one.
class FakeEvents : public platform::Events {
  public:
    std::function<void()> pending;

    void do_events() override {
        ++calls;
        if (auto run = std::exchange(pending, nullptr)) {
            run();
        }
    }

    int calls = 0;
};

}  // namespace fakes
