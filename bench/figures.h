#pragma once

#include <cstdint>
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

// DISCON requests with 1 and 4 in flight on one Orvanta whose metrics are
// served at metrics_port, in turns with and without a scraper fetching them
// 10 times a second; each figure the median of five runs. Its goal: the
// scraped median no lower than the slowest unscraped run, that is, a
// difference within what identical runs differ by.
std::vector<Row> scraped_rows(Subject& orvanta, std::uint16_t metrics_port, int requests);

// Twelve clients in flight against the nine-session limit: the share of
// requests turned away unprocessed.
std::vector<Row> burst_rows(Server& orvanta, int requests);

}  // namespace bench
