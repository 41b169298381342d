#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <exception>
#include <optional>
#include <thread>
#include <utility>

#include "server.h"

namespace bench {

template <typename Result>
struct Driven {
    Result client;
    // Requests that the server processed for these clients.
    std::uint64_t processed;
    // From the clients' start to the server's last processed request; zero
    // when it processed none.
    double seconds;
};

// How long a server may go without processing anything, once its clients are
// done, before the requests it has not processed count as lost.
inline constexpr std::chrono::milliseconds catch_up_patience{250};

// Runs `clients` on a thread of their own while `server` serves on this one.
// A server may have taken a request from a client's point of view (read it
// to its end and closed) before processing it; so once the clients are done,
// it serves on until it has processed `expected(result)` requests, or until
// it has processed nothing for catch_up_patience.
template <typename Clients, typename Expected>
auto drive(Server& server, Clients clients, Expected expected) -> Driven<decltype(clients())> {
    using Result = decltype(clients());
    std::atomic<bool> done{false};
    std::optional<Result> result;
    std::exception_ptr failure;
    const std::uint64_t before = server.processed();
    const Server::Clock::time_point start = Server::Clock::now();
    std::thread thread([&] {
        try {
            result.emplace(clients());
        } catch (...) {
            failure = std::current_exception();
        }
        done = true;
    });
    server.serve_until([&] { return done.load(); });
    thread.join();
    if (failure) {
        std::rethrow_exception(failure);
    }
    const std::uint64_t wanted = expected(*result);
    std::uint64_t seen = server.processed();
    Server::Clock::time_point progress = Server::Clock::now();
    server.serve_until([&] {
        const std::uint64_t now_processed = server.processed();
        const Server::Clock::time_point now = Server::Clock::now();
        if (now_processed - before >= wanted) {
            return true;
        }
        if (now_processed != seen) {
            seen = now_processed;
            progress = now;
        }
        return now - progress > catch_up_patience;
    });
    const std::uint64_t processed = server.processed() - before;
    const double seconds =
        processed == 0 ? 0.0
                       : std::chrono::duration<double>(server.last_processed_at() - start).count();
    return {std::move(*result), processed, seconds};
}

// The same, for clients after which nothing more is to be processed.
template <typename Clients>
auto drive(Server& server, Clients clients) -> Driven<decltype(clients())> {
    return drive(server, std::move(clients), [](const auto&) { return std::uint64_t{0}; });
}

}  // namespace bench
