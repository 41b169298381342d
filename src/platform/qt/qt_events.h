#pragma once

#include "platform/events.h"

namespace platform::qt {

// The Qt event loop of the running application.
class QtEvents : public platform::Events {
  public:
    void do_events() override;
    void sleep_for(std::chrono::milliseconds duration) override;
};

}  // namespace platform::qt
