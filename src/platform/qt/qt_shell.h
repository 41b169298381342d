#pragma once

#include "platform/shell.h"

namespace platform::qt {

// Hands addresses to xdg-open, the desktop's own choice of browser. The
// program is started detached: we neither wait for it nor collect it.
class QtShell : public platform::Shell {
  public:
    void open_address(const std::string& address) override;
};

}  // namespace platform::qt
