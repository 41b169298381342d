#pragma once

#include <chrono>
#include <cstdint>

#include "platform/navigator.h"

namespace bench {

// Passes every call on to the real navigator and counts the link-state reads.
// While the link is down, a DISCON request reads the link state exactly once
// (and answers "Already disconnected"); so, with the poll out of the way,
// the count is the number of DISCON requests the program has processed.
class CountingNavigator final : public platform::Navigator {
  public:
    explicit CountingNavigator(platform::Navigator& navigator) : navigator_(navigator) {}

    std::int16_t SignalStatus() override { return navigator_.SignalStatus(); }
    std::int16_t ConnectionStatus() override {
        const std::int16_t status = navigator_.ConnectionStatus();
        ++connection_reads_;
        last_read_at_ = std::chrono::steady_clock::now();
        return status;
    }
    void Dial() override { navigator_.Dial(); }
    void HangUp() override { navigator_.HangUp(); }

    std::uint64_t connection_reads() const { return connection_reads_; }
    std::chrono::steady_clock::time_point last_read_at() const { return last_read_at_; }

  private:
    platform::Navigator& navigator_;
    std::uint64_t connection_reads_ = 0;
    std::chrono::steady_clock::time_point last_read_at_;
};

}  // namespace bench
