#pragma once

#include <chrono>

namespace platform {

// The event loop, as far as the logic may touch it.
class Events {
  public:
    Events() = default;
    Events(const Events&) = delete;
    Events& operator=(const Events&) = delete;
    virtual ~Events() = default;

    // Lets the events that are already pending run once, then returns.
    virtual void do_events() = 0;
    // Blocks the thread for a while without letting any event run.
    virtual void sleep_for(std::chrono::milliseconds duration) = 0;
};

}  // namespace platform
