#include "platform/qt/paced_action.h"

#include <algorithm>
#include <utility>

namespace platform::qt {

PacedAction::PacedAction(std::chrono::milliseconds interval, std::function<void()> action)
    : interval_(interval), action_(std::move(action)) {
    timer_.setSingleShot(true);
    QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] { run(); });
}

void PacedAction::request() {
    if (timer_.isActive()) {
        return;
    }
    const auto since =
        since_run_.isValid() ? std::chrono::milliseconds(since_run_.elapsed()) : interval_;
    timer_.start(std::max(std::chrono::milliseconds(0), interval_ - since));
}

void PacedAction::run() {
    since_run_.start();
    action_();
}

}  // namespace platform::qt
