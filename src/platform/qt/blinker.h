#pragma once

#include <QTimer>
#include <functional>

namespace platform::qt {

// A light that, while on, goes lit and unlit in turn at a steady beat, and
// tells its owner at each change. While off it is unlit and its timer is
// stopped, so that an idle program does not wake up for it.
class Blinker {
  public:
    // Half a period: lit this long, then unlit as long.
    static constexpr int beat_ms = 500;

    explicit Blinker(std::function<void()> changed);
    Blinker(const Blinker&) = delete;
    Blinker& operator=(const Blinker&) = delete;

    // Turning on lights it at once; turning off puts it out at once. Turning
    // it on again while on keeps the beat.
    void set_on(bool on);
    bool on() const { return timer_.isActive(); }
    bool lit() const { return lit_; }

  private:
    void set_lit(bool lit);

    QTimer timer_;
    bool lit_ = false;
    std::function<void()> changed_;
};

}  // namespace platform::qt
