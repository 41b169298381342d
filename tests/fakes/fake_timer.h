#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "fakes/fault.h"
#include "platform/timer.h"

namespace fakes {

// A timer that ticks only when the test calls fire().
class FakeTimer : public platform::Timer {
  public:
    Fault enable_fault;

    void set_interval(int milliseconds) override { interval_ = milliseconds; }
    int interval() const override { return interval_; }
    void set_enabled(bool enabled) override {
        enable_fault.check("Timer.Enabled");
        enabled_ = enabled;
    }
    bool enabled() const override { return enabled_; }
    void on_tick(std::function<void()> handler) override { handler_ = std::move(handler); }

    // Delivers one tick, as the event loop would, when the timer is enabled.
    void fire() {
        if (enabled_ && handler_) {
            handler_();
        }
    }

  private:
    int interval_ = 0;
    bool enabled_ = false;
    std::function<void()> handler_;
};

// Hands out fake timers and keeps a view of each, in creation order.
class FakeTimerFactory : public platform::TimerFactory {
  public:
    std::unique_ptr<platform::Timer> create_timer() override {
        auto timer = std::make_unique<FakeTimer>();
        timers.push_back(timer.get());
        return timer;
    }

    std::vector<FakeTimer*> timers;
};

}  // namespace fakes
