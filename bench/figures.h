#pragma once

#include <string>
#include <vector>

#include "server.h"
#include "subject.h"
#include "table.h"

namespace bench {

// The figures of Orvanta's server, each measured beside the minimal epoll
// baseline driven by the same clients. `where` names how both run, for the
// rows ("in-process", "program"). Progress goes to standard error.

// DISCON requests with 1, 4 and 8 in flight; processed requests per second,
// the median of three runs at 4 and 8.
std::vector<Row> throughput_rows(const std::string& where, Subject& orvanta, Subject& baseline,
                                 int requests);

// STATUS requests one at a time: from the request's end to the reply's end.
std::vector<Row> round_trip_rows(const std::string& where, Subject& orvanta, Subject& baseline,
                                 int requests);

// Twelve clients in flight against the nine-session limit: the share of
// requests turned away unprocessed.
std::vector<Row> burst_rows(Server& orvanta, int requests);

}  // namespace bench
