#pragma once

#include <chrono>
#include <cstdint>
#include <functional>

namespace bench {

// A server that the benchmark drives: Orvanta, or the minimal baseline.
// It serves on the thread that calls serve_until; the clients run on another.
class Server {
  public:
    using Clock = std::chrono::steady_clock;

    Server() = default;
    Server(const Server&) = delete;
    Server& operator=(const Server&) = delete;
    virtual ~Server() = default;

    // The port its clients connect to.
    virtual std::uint16_t port() const = 0;
    // How many requests it has processed so far, counted inside the server,
    // and when it processed the last of them.
    virtual std::uint64_t processed() const = 0;
    virtual Clock::time_point last_processed_at() const = 0;
    // Serves until `stop` holds; it is asked every 5 ms, between events.
    virtual void serve_until(const std::function<bool()>& stop) = 0;
};

}  // namespace bench
