#pragma once

#include "platform/clock.h"
#include "platform/forms/control.h"
#include "platform/forms/label.h"
#include "platform/metrics.h"
#include "platform/navigator.h"
#include "ui/status_log.h"

namespace monitor {

// Dials and hangs up the link through the navigator, refusing a request that
// the link's present state makes pointless. The connect and disconnect
// buttons run these handlers, and so do the status poll's redial and the
// clients' requests, so they behave exactly as a click does; only the
// metrics tell who asked.
class DialControl {
  public:
    using DialOrigin = platform::Metrics::DialOrigin;
    using HangUpOrigin = platform::Metrics::HangUpOrigin;

    DialControl(platform::Navigator& navigator, ui::StatusLog& log,
                platform::Control& focus_parking, platform::Label& last_dial_label,
                const platform::Clock& clock, platform::Metrics& metrics);

    void CONNECT_BUTTON_Click(DialOrigin origin = DialOrigin::Local);
    void DISCONNECT_BUTTON_Click(HangUpOrigin origin = HangUpOrigin::Local);

  private:
    platform::Navigator& navigator_;
    ui::StatusLog& log_;
    platform::Control& focus_parking_;
    platform::Label& last_dial_label_;
    const platform::Clock& clock_;
    platform::Metrics& metrics_;
};

}  // namespace monitor
