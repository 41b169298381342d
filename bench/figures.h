#pragma once

#include <cstdint>
#include <vector>

#include "server.h"
#include "table.h"

namespace bench {

// The figures of Orvanta's server, each measured beside the minimal epoll
// baseline driven by the same clients. Progress goes to standard error.

// DISCON requests with 1, 4 and 8 in flight; processed requests per second,
// the median of three runs at 4 and 8.
std::vector<Row> throughput_rows(Server& orvanta, int requests);

// STATUS requests one at a time: from the request's end to the reply's end.
// Orvanta replies to `orvanta_reply_port`, its transmit port.
std::vector<Row> round_trip_rows(Server& orvanta, std::uint16_t orvanta_reply_port, int requests);

// Twelve clients in flight against the nine-session limit: the share of
// requests turned away unprocessed.
std::vector<Row> burst_rows(Server& orvanta, int requests);

}  // namespace bench
