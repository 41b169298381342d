#pragma once

#include <string>
#include <vector>

#include "platform/metrics.h"

namespace fakes {

// Records every call as a line: "request STATUS", "dial redial", ...
class FakeMetrics : public platform::Metrics {
  public:
    std::vector<std::string> calls;

    void link_polled(bool connected, bool dialing, bool signal, const std::string& status_code,
                     std::int64_t unix_time) override {
        calls.push_back("link " + std::to_string(connected) + std::to_string(dialing) +
                        std::to_string(signal) + " " + status_code + " " +
                        std::to_string(unix_time));
    }
    void poll_failed() override { calls.emplace_back("poll failed"); }
    void request(const std::string& keyword) override { calls.push_back("request " + keyword); }
    void session_refused() override { calls.emplace_back("session refused"); }
    void client_not_allowed() override { calls.emplace_back("client not allowed"); }
    void delivery(bool sent) override {
        calls.emplace_back(sent ? "delivery sent" : "delivery error");
    }
    void dial(DialOrigin origin) override {
        calls.emplace_back(origin == DialOrigin::Local    ? "dial local"
                           : origin == DialOrigin::Client ? "dial client"
                                                          : "dial redial");
    }
    void hang_up(HangUpOrigin origin) override {
        calls.emplace_back(origin == HangUpOrigin::Local ? "hangup local" : "hangup client");
    }
    void sessions_open(int count) override { calls.push_back("sessions " + std::to_string(count)); }
    void clients_known(int count) override { calls.push_back("clients " + std::to_string(count)); }
};

}  // namespace fakes
