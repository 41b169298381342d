#pragma once

#include <cstdint>
#include <deque>

#include "fakes/fault.h"
#include "platform/navigator.h"

namespace fakes {

// A navigator whose values the test sets. Reads can be scripted one by one;
// every operation counts its calls and can be made to fail.
class FakeNavigator : public platform::Navigator {
  public:
    std::int16_t signal = 1;
    std::int16_t connection = 2;
    // When not empty, each ConnectionStatus read takes the next value from here.
    std::deque<std::int16_t> connection_reads;

    Fault signal_fault;
    Fault connection_fault;
    Fault dial_fault;
    Fault hang_up_fault;

    std::int16_t SignalStatus() override {
        signal_fault.check("SignalStatus");
        return signal;
    }
    std::int16_t ConnectionStatus() override {
        connection_fault.check("ConnectionStatus");
        if (!connection_reads.empty()) {
            const std::int16_t value = connection_reads.front();
            connection_reads.pop_front();
            return value;
        }
        return connection;
    }
    void Dial() override { dial_fault.check("Dial"); }
    void HangUp() override { hang_up_fault.check("HangUp"); }

    int signal_reads() const { return signal_fault.calls(); }
    int connection_reads_made() const { return connection_fault.calls(); }
    int dials() const { return dial_fault.calls(); }
    int hang_ups() const { return hang_up_fault.calls(); }
};

}  // namespace fakes
