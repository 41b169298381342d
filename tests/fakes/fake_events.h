#pragma once

#include <chrono>
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

    // Runs for each sleep, e.g. to move a fake clock on by the time slept.
    std::function<void(std::chrono::milliseconds)> on_sleep;
    void sleep_for(std::chrono::milliseconds duration) override {
        if (on_sleep) {
            on_sleep(duration);
        }
    }

    int calls = 0;
};

}  // namespace fakes
