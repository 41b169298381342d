#pragma once

#include <QTimer>
#include <functional>
#include <memory>

#include "platform/timer.h"

namespace platform::qt {

// A platform timer on a QTimer. It ticks only while enabled with an interval
// above 0: a QTimer of interval 0 would fire at every pass of the event loop.
class QtTimer : public platform::Timer {
  public:
    QtTimer();
    ~QtTimer() override;

    void set_interval(int milliseconds) override;
    int interval() const override { return interval_; }
    void set_enabled(bool enabled) override;
    bool enabled() const override { return enabled_; }
    void on_tick(std::function<void()> handler) override { handler_ = std::move(handler); }

  private:
    void restart();
    void tick();

    std::unique_ptr<QTimer> timer_;
    std::function<void()> handler_;
    int interval_ = 0;
    bool enabled_ = false;
    bool ticking_ = false;
    // Expires with this object, so that a tick can tell whether its handler
    // destroyed the timer.
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
};

class QtTimerFactory : public platform::TimerFactory {
  public:
    std::unique_ptr<platform::Timer> create_timer() override;
};

}  // namespace platform::qt
