#include "monitor/dial_control.h"

#include "platform/failure.h"
#include "util/time_format.h"

namespace monitor {

using platform::holds_or_fails;
using platform::resume_next;

DialControl::DialControl(platform::Navigator& navigator, ui::StatusLog& log,
                         platform::Control& focus_parking, platform::Label& last_dial_label,
                         const platform::Clock& clock, platform::Metrics& metrics)
    : navigator_(navigator),
      log_(log),
      focus_parking_(focus_parking),
      last_dial_label_(last_dial_label),
      clock_(clock),
      metrics_(metrics) {}

// Both handlers pass over every failing step and never let a failure out. A
// failing navigator read counts as the test holding, so it leads into the
// branch that the test guards. The metrics count what is passed on to the
// navigator, whether it then fails or not.

void DialControl::CONNECT_BUTTON_Click(DialOrigin origin) {
    resume_next([&] { focus_parking_.set_focus(); });
    if (holds_or_fails([&] { return navigator_.ConnectionStatus() == 1; })) {
        resume_next([&] { log_.write("     Already connected to ISP"); });
        return;
    }
    if (holds_or_fails([&] { return navigator_.ConnectionStatus() == 3; })) {
        resume_next([&] { log_.write("     Already dialing the ISP"); });
        return;
    }
    resume_next([&] { log_.write("     Local command: CONNECT"); });
    if (holds_or_fails([&] { return navigator_.SignalStatus() == 0; })) {
        resume_next([&] { log_.write("     Not enough signal strength"); });
        return;
    }
    resume_next([&] { last_dial_label_.set_caption(util::dial_time(clock_.time_of_day())); });
    metrics_.dial(origin);
    resume_next([&] { navigator_.Dial(); });
}

void DialControl::DISCONNECT_BUTTON_Click(HangUpOrigin origin) {
    resume_next([&] { focus_parking_.set_focus(); });
    if (holds_or_fails([&] { return navigator_.ConnectionStatus() == 2; })) {
        resume_next([&] { log_.write("     Already disconnected from ISP"); });
        return;
    }
    resume_next([&] { log_.write("     Local command: DISCONNECT"); });
    metrics_.hang_up(origin);
    resume_next([&] { navigator_.HangUp(); });
}

}  // namespace monitor
