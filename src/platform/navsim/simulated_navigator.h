#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "platform/clock.h"
#include "platform/navigator.h"
#include "platform/navsim/state_file.h"
#include "platform/navsim/text_file_cache.h"
#include "platform/timer.h"

namespace platform::navsim {

// The navigator control on machines without a satellite card. Its state lives
// in a small text file (format in state_file.h) that operators and tests edit
// while the program runs. Every operation reads the file first, so the latest
// edit always counts and no write of ours undoes it; every change the
// simulation makes itself is written back at once, so the file always shows the
// control's state. When the file cannot be read or written the simulation goes
// on from memory: only `fail` makes operations throw.
class SimulatedNavigator : public Navigator {
  public:
    // Creates the file with the defaults when it does not exist. `timers` makes
    // the timer that completes a dial when nobody reads the control.
    SimulatedNavigator(std::string state_path, const Clock& clock, TimerFactory& timers);

    std::int16_t SignalStatus() override;
    std::int16_t ConnectionStatus() override;
    // Shows 3 at once and 1 after dial_seconds (the value when the dial
    // starts), or 2 when signal is 0 by then. A dial while dialing starts the
    // wait over; setting connection to anything but 3 by hand abandons it.
    void Dial() override;
    // Shows 2 at once and abandons a dial under way.
    void HangUp() override;

  private:
    // Reads the file and throws when it sets `fail`; then lets a dial that is
    // due complete. Every operation starts here.
    void begin_operation();
    void reload();
    void settle_dial();
    void abandon_dial();
    void on_tick();
    void save_if_changed();

    std::filesystem::path path_;
    TextFileCache file_;
    const Clock& clock_;
    std::unique_ptr<Timer> timer_;
    StateValues state_;
    // What the file held at the last read, or empty when there was no file, so
    // that the next save puts it back.
    std::optional<StateValues> on_file_;
    std::optional<std::chrono::milliseconds> dial_deadline_;
};

}  // namespace platform::navsim
