#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace bench {

// How one request ended, as its client saw it.
enum class Ending {
    // The server closed without a word: it took the request.
    Taken,
    // The server said it serves all the clients it can, and closed.
    TurnedAway,
    // The connection was refused or reset.
    Reset,
    // The server answered with some other text.
    Other,
};

// What came back on a request connection, and whether it ended in a reset.
Ending classify(std::string_view received, bool reset);

struct LoadOptions {
    std::uint16_t port = 0;
    int in_flight = 1;
    int requests = 0;
    std::string request = "DISCON";
};

struct LoadResult {
    int taken = 0;
    int turned_away = 0;
    int reset = 0;
    int other = 0;
    // From the first connection attempt to the end of the last request.
    double seconds = 0;

    int total() const { return taken + turned_away + reset + other; }
    void count(Ending ending);
};

// Clients as Orvanta's are written: each connects to 127.0.0.1:port, sends
// the request, ends its sending side and reads until the server closes.
// Keeps `in_flight` of them under way, starting the next as soon as one
// ends, until `requests` have ended. Throws std::runtime_error when nothing
// ends for ten seconds.
LoadResult run_load(const LoadOptions& options);

}  // namespace bench
