#pragma once

#include <functional>
#include <memory>

namespace platform {

// A repeating timer delivered on the user-interface thread. A new timer is
// disabled, with an interval of 0 and no handler.
class Timer {
  public:
    Timer() = default;
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;
    virtual ~Timer() = default;

    // Sets the time between ticks; a running timer restarts its count.
    virtual void set_interval(int milliseconds) = 0;
    // The time between ticks.
    virtual int interval() const = 0;
    // Starts (true) or stops (false) the ticks.
    virtual void set_enabled(bool enabled) = 0;
    // Whether the timer ticks.
    virtual bool enabled() const = 0;
    // The handler run at each tick.
    virtual void on_tick(std::function<void()> handler) = 0;
};

// Makes timers; the caller owns them.
class TimerFactory {
  public:
    TimerFactory() = default;
    TimerFactory(const TimerFactory&) = delete;
    TimerFactory& operator=(const TimerFactory&) = delete;
    virtual ~TimerFactory() = default;

    // A new, disabled timer.
    virtual std::unique_ptr<Timer> create_timer() = 0;
};

}  // namespace platform
