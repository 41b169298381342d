#pragma once

#include <cstdint>

namespace platform {

// The satellite card's navigator control: the program's only access to the link.
// Every call reaches the control afresh; nothing is cached. Each operation
// throws platform::Failure when the control reports an error.
class Navigator {
  public:
    Navigator() = default;
    Navigator(const Navigator&) = delete;
    Navigator& operator=(const Navigator&) = delete;
    virtual ~Navigator() = default;

    // 1 signal present, 3 no signal, 0 no signal strength (dialing refused).
    virtual std::int16_t SignalStatus() = 0;
    // 1 connected, 2 disconnected, 3 dialing.
    virtual std::int16_t ConnectionStatus() = 0;
    // Starts dialing the Internet connection.
    virtual void Dial() = 0;
    // Drops the Internet connection.
    virtual void HangUp() = 0;
};

}  // namespace platform
