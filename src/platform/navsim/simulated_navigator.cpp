#include "platform/navsim/simulated_navigator.h"

#include <algorithm>
#include <utility>

#include "platform/failure.h"
#include "platform/navsim/text_file.h"

namespace platform::navsim {

namespace {
constexpr std::int16_t kNoSignalStrength = 0;
constexpr std::int16_t kConnected = 1;
constexpr std::int16_t kDisconnected = 2;
constexpr std::int16_t kDialing = 3;
}  // namespace

SimulatedNavigator::SimulatedNavigator(std::string state_path, const Clock& clock,
                                       TimerFactory& timers)
    : path_(std::move(state_path)), file_(path_), clock_(clock), timer_(timers.create_timer()) {
    timer_->on_tick([this] { on_tick(); });
    reload();
    save_if_changed();
}

std::int16_t SimulatedNavigator::SignalStatus() {
    begin_operation();
    save_if_changed();
    return state_.signal;
}

std::int16_t SimulatedNavigator::ConnectionStatus() {
    begin_operation();
    save_if_changed();
    return state_.connection;
}

void SimulatedNavigator::Dial() {
    begin_operation();
    state_.connection = kDialing;
    const std::chrono::milliseconds wait =
        std::chrono::seconds(std::max<std::int16_t>(0, state_.dial_seconds));
    dial_deadline_ = clock_.steady_now() + wait;
    save_if_changed();
    timer_->set_interval(static_cast<int>(wait.count()));
    timer_->set_enabled(true);
}

void SimulatedNavigator::HangUp() {
    begin_operation();
    abandon_dial();
    state_.connection = kDisconnected;
    save_if_changed();
}

void SimulatedNavigator::begin_operation() {
    reload();
    if (state_.failing()) {
        // Changes nothing, but a file deleted meanwhile still comes back, so
        // the operator can see why the control fails.
        save_if_changed();
        throw Failure("Simulated navigator control fails: 'fail' is set in " + path_.string());
    }
    settle_dial();
}

void SimulatedNavigator::reload() {
    TextFileRead read = file_.read();
    switch (read.outcome) {
        case TextFileRead::Outcome::Read:
            state_ = parse_state(read.text, state_);
            on_file_ = state_;
            break;
        case TextFileRead::Outcome::Missing:
            on_file_.reset();
            break;
        case TextFileRead::Outcome::Unreadable:
            // Nothing learnt, and nothing to put back: writing over a file we
            // cannot read would only hide the problem from the operator.
            on_file_ = state_;
            break;
    }
}

void SimulatedNavigator::settle_dial() {
    if (!dial_deadline_) {
        return;
    }
    if (state_.connection != kDialing) {
        abandon_dial();  // the operator's edit wins over a dial under way
        return;
    }
    if (clock_.steady_now() < *dial_deadline_) {
        return;
    }
    abandon_dial();
    state_.connection = state_.signal == kNoSignalStrength ? kDisconnected : kConnected;
}

void SimulatedNavigator::abandon_dial() {
    dial_deadline_.reset();
    timer_->set_enabled(false);
}

void SimulatedNavigator::on_tick() {
    // Completes the dial even while `fail` is set: a broken control misreports
    // the link, but the link itself goes on.
    reload();
    settle_dial();
    save_if_changed();
    if (dial_deadline_) {
        // Coarse timers may tick a little early; wait for the rest.
        timer_->set_interval(static_cast<int>((*dial_deadline_ - clock_.steady_now()).count()));
    }
}

void SimulatedNavigator::save_if_changed() {
    if (on_file_ == state_) {
        return;
    }
    if (replace_text_file(path_, format_state(state_))) {
        on_file_ = state_;
    }
}

}  // namespace platform::navsim
