#pragma once

#include "platform/clock.h"
#include "platform/forms/control.h"
#include "platform/forms/label.h"
#include "platform/navigator.h"
#include "ui/status_log.h"

namespace monitor {

// Dials and hangs up the link through the navigator, refusing a request that
// the link's present state makes pointless. The connect and disconnect
// buttons run these handlers, and so do the status poll's redial and the
// clients' requests, so they behave exactly as a click does.
class DialControl {
  public:
    DialControl(platform::Navigator& navigator, ui::StatusLog& log,
                platform::Control& focus_parking, platform::Label& last_dial_label,
                const platform::Clock& clock);

    void CONNECT_BUTTON_Click();
    void DISCONNECT_BUTTON_Click();

  private:
    platform::Navigator& navigator_;
    ui::StatusLog& log_;
    platform::Control& focus_parking_;
    platform::Label& last_dial_label_;
    const platform::Clock& clock_;
};

}  // namespace monitor
