#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <chrono>
#include <functional>

namespace platform::qt {

// Runs an action soon after it is asked for, but no more than once per
// interval: asks that come while a run is due, or within the interval after
// the last run, are all answered by one run when the interval ends. After a
// quiet spell the run comes at the event loop's next turn.
class PacedAction {
  public:
    PacedAction(std::chrono::milliseconds interval, std::function<void()> action);
    PacedAction(const PacedAction&) = delete;
    PacedAction& operator=(const PacedAction&) = delete;

    void request();
    bool due() const { return timer_.isActive(); }

  private:
    void run();

    const std::chrono::milliseconds interval_;
    const std::function<void()> action_;
    QTimer timer_;
    QElapsedTimer since_run_;
};

}  // namespace platform::qt
