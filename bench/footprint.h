#pragma once

#include <chrono>
#include <cstdint>
#include <vector>

#include "table.h"

namespace bench {

struct FootprintOptions {
    std::chrono::seconds idle{60};
    // The requests after which RSS and descriptors are first taken, and in all.
    int first_requests = 100000;
    int all_requests = 400000;
    // Orvanta polls the link as often as a user would have it.
    std::int16_t poll_seconds = 5;
    // Left after each batch before looking: longer than the five seconds that
    // a closed connection may take to say goodbye.
    std::chrono::seconds settle{6};
};

// The real program beside the minimal Qt program (orvanta_minimal_qt), each
// in a temporary folder of its own, started offscreen at the same time:
// CPU time over the idle minute after start-up, and peak RSS. Then the real
// program serves DISCON requests, and its RSS and open descriptors after the
// first batch are compared with those after all of them.
std::vector<Row> footprint_rows(const FootprintOptions& options);

}  // namespace bench
