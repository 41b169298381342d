#include "subject.h"

#include "round_trip.h"

namespace bench {

Measured InProcess::load(int in_flight, int requests) {
    const LoadOptions options{server_.port(), in_flight, requests, "DISCON"};
    // Every request that its client saw taken is waited for.
    return drive(
        server_, [&] { return run_load(options); },
        [](const LoadResult& result) { return static_cast<std::uint64_t>(result.taken); });
}

std::vector<double> InProcess::round_trips(int requests) {
    const RoundTripOptions options{server_.port(), reply_port_, requests, "STATUS", status_reply};
    return drive(server_, [&] { return run_round_trips(options); }).client;
}

}  // namespace bench
