#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace bench {

struct RoundTripOptions {
    std::uint16_t server_port = 0;
    // Where the server delivers its replies; listened on at 127.0.0.1.
    std::uint16_t reply_port = 0;
    int requests = 0;
    std::string request = "STATUS";
    // Every reply must be exactly this.
    std::string expected_reply;
    // The longest wait for any one step.
    std::chrono::milliseconds patience{5000};
};

// Status requests one after the other, as orvanta-client makes them: each
// connects, sends the request and ends its sending side, then waits for the
// reply on a new connection from the server to the reply port, read until
// the server closes it. Returns each request's time from the end of its
// sending to the end of its reply, in microseconds. Throws
// std::runtime_error on a wrong reply or a wait beyond the patience.
std::vector<double> run_round_trips(const RoundTripOptions& options);

}  // namespace bench
