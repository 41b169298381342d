#include "app/form1.h"

#include "platform/failure.h"

namespace app {

Form1::Form1(platform::Navigator& navigator, const platform::Clock& clock)
    : log_(window_.STATUS_LIST, clock),
      dial_(navigator, log_, window_.TAB_STOP_ZERO, window_.TIME_LAST_ISP_CONNECT_LABEL, clock) {
    window_.CONNECT_BUTTON.on_click([this] { dial_.CONNECT_BUTTON_Click(); });
    window_.DISCONNECT_BUTTON.on_click([this] { dial_.DISCONNECT_BUTTON_Click(); });
    window_.STATUS_LIST.on_got_focus([this] { STATUS_LIST_GotFocus(); });
}

void Form1::STATUS_LIST_GotFocus() {
    platform::resume_next([this] { window_.TAB_STOP_ZERO.set_focus(); });
}

}  // namespace app
