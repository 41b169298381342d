#include "platform/qt/blinker.h"

namespace platform::qt {

Blinker::Blinker(std::function<void()> changed) : changed_(std::move(changed)) {
    timer_.setInterval(beat_ms);
    QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] { set_lit(!lit_); });
}

void Blinker::set_on(bool on) {
    if (on == this->on()) {
        return;
    }
    if (on) {
        timer_.start();
    } else {
        timer_.stop();
    }
    set_lit(on);
}

void Blinker::set_lit(bool lit) {
    if (lit == lit_) {
        return;
    }
    lit_ = lit;
    changed_();
}

}  // namespace platform::qt
