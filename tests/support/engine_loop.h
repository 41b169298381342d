#pragma once

#include <chrono>

#include "platform/posix/socket_engine.h"
#include "support/raw_client.h"

namespace test_support {

// Runs the engine, as the program's event loop would, until condition holds
// or the patience is over; whether it holds.
template <typename Condition>
bool run_until(platform::posix::SocketEngine& engine, Condition condition,
               int milliseconds = patience_ms) {
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        engine.wait(std::chrono::milliseconds(5));
    }
    return true;
}

// Runs the engine for a while, whatever happens.
inline void run_for(platform::posix::SocketEngine& engine, int milliseconds) {
    run_until(
        engine, [] { return false; }, milliseconds);
}

}  // namespace test_support
