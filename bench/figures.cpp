#include "figures.h"

#include <cstdio>
#include <string>

#include "drive.h"
#include "epoll_baseline.h"
#include "load_client.h"
#include "net.h"
#include "round_trip.h"
#include "stats.h"

namespace bench {

namespace {

// What every status reply says here: signal present, link down, never dialled.
const std::string status_reply = "STATUS-DISCSIGOKna";

using Measured = Driven<LoadResult>;

// Every request that its client saw taken is waited for.
Measured load(Server& server, int in_flight, int requests) {
    const LoadOptions options{server.port(), in_flight, requests, "DISCON"};
    return drive(
        server, [&] { return run_load(options); },
        [](const LoadResult& result) { return static_cast<std::uint64_t>(result.taken); });
}

void report(const char* who, const char* what, const Measured& measured) {
    const LoadResult& c = measured.client;
    std::fprintf(stderr,
                 "  %-8s %-12s %6d requests: %6llu processed in %6.3f s (clients done in %6.3f "
                 "s); clients saw %d taken, %d turned away, %d reset, %d other\n",
                 who, what, c.total(), static_cast<unsigned long long>(measured.processed),
                 measured.seconds, c.seconds, c.taken, c.turned_away, c.reset, c.other);
}

double per_second(const Measured& measured) {
    return measured.seconds > 0 ? static_cast<double>(measured.processed) / measured.seconds : 0;
}

std::vector<double> round_trips(Server& server, std::uint16_t reply_port, int requests) {
    const RoundTripOptions options{server.port(), reply_port, requests, "STATUS", status_reply};
    return drive(server, [&] { return run_round_trips(options); }).client;
}

}  // namespace

std::vector<Row> throughput_rows(Server& orvanta, int requests) {
    std::fprintf(stderr, "Throughput: DISCON while disconnected, %d requests per run\n", requests);
    EpollBaseline baseline({});
    // The first connections of a server warm its caches and allocations.
    load(baseline, 4, requests / 20);
    load(orvanta, 4, requests / 20);
    std::vector<Row> rows;
    for (const int in_flight : {1, 4, 8}) {
        const std::string what = std::to_string(in_flight) + " in flight";
        // Orvanta's rate varies from run to run by a third (how many requests
        // share one repaint of its window depends on how its events bunch),
        // so the figures with a goal take the median of three runs, each
        // beside a baseline run. One in flight is slow and steady: one run.
        const int runs = in_flight == 1 ? 1 : 3;
        std::vector<double> base_rates;
        std::vector<double> our_rates;
        for (int run = 0; run < runs; ++run) {
            const Measured base = load(baseline, in_flight, requests);
            report("baseline", what.c_str(), base);
            base_rates.push_back(per_second(base));
            const Measured ours = load(orvanta, in_flight, requests);
            report("Orvanta", what.c_str(), ours);
            our_rates.push_back(per_second(ours));
        }
        Row row{"Throughput, " + what,      "req/s",      percentile(our_rates, 50),
                percentile(base_rates, 50), std::nullopt, 0};
        if (in_flight > 1) {
            row.goal = Goal{Goal::Kind::AtLeastTimesBaseline, 0.7};
        }
        rows.push_back(row);
    }
    return rows;
}

std::vector<Row> round_trip_rows(Server& orvanta, std::uint16_t orvanta_reply_port, int requests) {
    std::fprintf(stderr, "Status round trip: %d STATUS requests one after the other\n", requests);
    const std::uint16_t baseline_reply_port = free_port_pair().listen;
    EpollBaseline baseline(
        {.session_limit = 0, .reply_port = baseline_reply_port, .reply = status_reply});
    round_trips(baseline, baseline_reply_port, requests / 20);
    round_trips(orvanta, orvanta_reply_port, requests / 20);
    const std::vector<double> base = round_trips(baseline, baseline_reply_port, requests);
    const std::vector<double> ours = round_trips(orvanta, orvanta_reply_port, requests);
    std::fprintf(stderr, "  baseline p50 %.0f us, p99 %.0f us, max %.0f us\n", percentile(base, 50),
                 percentile(base, 99), percentile(base, 100));
    std::fprintf(stderr, "  Orvanta  p50 %.0f us, p99 %.0f us, max %.0f us\n", percentile(ours, 50),
                 percentile(ours, 99), percentile(ours, 100));
    const Goal goal{Goal::Kind::AtMostTimesBaseline, 1.5};
    return {
        {"Status round trip, p50", "us", percentile(ours, 50), percentile(base, 50), goal, 0},
        {"Status round trip, p99", "us", percentile(ours, 99), percentile(base, 99), goal, 0},
    };
}

std::vector<Row> burst_rows(Server& orvanta, int requests) {
    constexpr int clients = 12;
    std::fprintf(stderr, "Bursts: %d clients in flight, %d requests, nine sessions at most\n",
                 clients, requests);
    EpollBaseline baseline({.session_limit = 9, .reply_port = std::nullopt, .reply = {}});
    const Measured base = load(baseline, clients, requests);
    report("baseline", "12 in flight", base);
    const Measured ours = load(orvanta, clients, requests);
    report("Orvanta", "12 in flight", ours);
    const auto turned_away = [](const Measured& m) {
        const double total = m.client.total();
        return 100.0 * (total - static_cast<double>(m.processed)) / total;
    };
    return {{"Bursts, 12 in flight, turned away", "%", turned_away(ours), turned_away(base),
             Goal{Goal::Kind::AtMostTimesBaseline, 1.0}, 2}};
}

}  // namespace bench
