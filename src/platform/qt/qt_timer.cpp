#include "platform/qt/qt_timer.h"

#include "platform/guarded.h"

namespace platform::qt {

QtTimer::QtTimer() : timer_(std::make_unique<QTimer>()) {
    QObject::connect(timer_.get(), &QTimer::timeout, timer_.get(), [this] { tick(); });
}

QtTimer::~QtTimer() {
    timer_->stop();
    if (ticking_) {
        // Our handler is ending us from inside the QTimer's own signal: the
        // QTimer must outlive that call, so Qt deletes it once it is over.
        QObject::disconnect(timer_.get(), nullptr, nullptr, nullptr);
        timer_.release()->deleteLater();
    }
}

void QtTimer::set_interval(int milliseconds) {
    interval_ = milliseconds;
    restart();
}

void QtTimer::set_enabled(bool enabled) {
    if (enabled == enabled_) {
        return;
    }
    enabled_ = enabled;
    restart();
}

void QtTimer::restart() {
    if (enabled_ && interval_ > 0) {
        timer_->start(interval_);
    } else {
        timer_->stop();
    }
}

void QtTimer::tick() {
    const std::weak_ptr<int> alive = alive_;
    ticking_ = true;
    guarded({"timer tick", {}}, [this] {
        // The handler may destroy this timer, or replace itself: run a copy,
        // and touch no member after it.
        const std::function<void()> handler = handler_;
        if (handler) {
            handler();
        }
    });
    if (!alive.expired()) {
        ticking_ = false;
    }
}

std::unique_ptr<platform::Timer> QtTimerFactory::create_timer() {
    return std::make_unique<QtTimer>();
}

}  // namespace platform::qt
