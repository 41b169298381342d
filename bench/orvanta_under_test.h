#pragma once

#include <memory>
#include <string>

#include "server.h"

namespace app {
class Form1;
}

namespace platform {
class Metrics;
}

namespace bench {

// Orvanta as src/main.cpp composes it, on the Qt platform, inside the
// benchmark: the same Form1, the same Qt sockets, timers and window, started
// by the same Form_Load. What differs: the program's folder is `folder`
// (which must hold NAVCTRL.OCX, Orvanta.ini and navsim.state) instead of the
// executable's; the navigator counts its link-state reads, which is how
// processed DISCON requests are counted; and no signal handler closes the
// window. Its metrics are `metrics` where given (they must outlive it),
// else none, as without `metrics` in orvanta.conf. Needs a QApplication;
// the start-up takes the two seconds of the splash screen.
class OrvantaUnderTest final : public Server {
  public:
    OrvantaUnderTest(const std::string& folder, std::uint16_t listen_port,
                     platform::Metrics* metrics = nullptr);
    ~OrvantaUnderTest() override;

    std::uint16_t port() const override { return port_; }
    // The link-state reads since the start-up ended.
    std::uint64_t processed() const override;
    Clock::time_point last_processed_at() const override;
    // Runs the Qt event loop until `stop` holds.
    void serve_until(const std::function<bool()>& stop) override;
    // The program's main window as a whole: its sockets and windows.
    app::Form1& form1();

  private:
    struct Parts;
    std::unique_ptr<Parts> parts_;
    std::uint16_t port_;
    std::uint64_t reads_at_start_ = 0;
};

}  // namespace bench
