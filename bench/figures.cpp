#include "figures.h"

#include <cstdio>
#include <string>

#include "drive.h"
#include "epoll_baseline.h"
#include "load_client.h"
#include "net.h"
#include "stats.h"

namespace bench {

namespace {

void report(const char* who, const std::string& what, const Measured& measured) {
    const LoadResult& c = measured.client;
    std::fprintf(stderr,
                 "  %-8s %-24s %6d requests: %6llu processed in %6.3f s (clients done in %6.3f "
                 "s); clients saw %d taken, %d turned away, %d reset, %d other\n",
                 who, what.c_str(), c.total(), static_cast<unsigned long long>(measured.processed),
                 measured.seconds, c.seconds, c.taken, c.turned_away, c.reset, c.other);
}

double per_second(const Measured& measured) {
    return measured.seconds > 0 ? static_cast<double>(measured.processed) / measured.seconds : 0;
}

}  // namespace

std::vector<Row> throughput_rows(const std::string& where, Subject& orvanta, Subject& baseline,
                                 int requests) {
    std::fprintf(stderr, "Throughput (%s): DISCON while disconnected, %d requests per run\n",
                 where.c_str(), requests);
    // The first connections of a server warm its caches and allocations.
    baseline.load(4, requests / 20);
    orvanta.load(4, requests / 20);
    std::vector<Row> rows;
    for (const int in_flight : {1, 4, 8}) {
        const std::string what = std::to_string(in_flight) + " in flight (" + where + ")";
        // Orvanta's rate varies from run to run by a third (how many requests
        // share one repaint of its window depends on how its events bunch),
        // so the figures at 4 and 8 take the median of three runs, each
        // beside a baseline run. One in flight is slow and steady: one run.
        const int runs = in_flight == 1 ? 1 : 3;
        std::vector<double> base_rates;
        std::vector<double> our_rates;
        for (int run = 0; run < runs; ++run) {
            const Measured base = baseline.load(in_flight, requests);
            report("baseline", what, base);
            base_rates.push_back(per_second(base));
            const Measured ours = orvanta.load(in_flight, requests);
            report("Orvanta", what, ours);
            our_rates.push_back(per_second(ours));
        }
        rows.push_back({"Throughput, " + what, "req/s", percentile(our_rates, 50),
                        percentile(base_rates, 50), Goal{Goal::Kind::AtLeastTimesBaseline, 0.9},
                        0});
    }
    return rows;
}

std::vector<Row> round_trip_rows(const std::string& where, Subject& orvanta, Subject& baseline,
                                 int requests) {
    std::fprintf(stderr, "Status round trip (%s): %d STATUS requests one after the other\n",
                 where.c_str(), requests);
    baseline.round_trips(requests / 20);
    orvanta.round_trips(requests / 20);
    const std::vector<double> base = baseline.round_trips(requests);
    const std::vector<double> ours = orvanta.round_trips(requests);
    std::fprintf(stderr, "  baseline p50 %.0f us, p99 %.0f us, max %.0f us\n", percentile(base, 50),
                 percentile(base, 99), percentile(base, 100));
    std::fprintf(stderr, "  Orvanta  p50 %.0f us, p99 %.0f us, max %.0f us\n", percentile(ours, 50),
                 percentile(ours, 99), percentile(ours, 100));
    const Goal goal{Goal::Kind::AtMostTimesBaseline, 1.2};
    const std::string suffix = " (" + where + ")";
    return {
        {"Status round trip, p50" + suffix, "us", percentile(ours, 50), percentile(base, 50), goal,
         0},
        {"Status round trip, p99" + suffix, "us", percentile(ours, 99), percentile(base, 99), goal,
         0},
    };
}

std::vector<Row> burst_rows(Server& orvanta, int requests) {
    constexpr int clients = 12;
    std::fprintf(stderr, "Bursts: %d clients in flight, %d requests, nine sessions at most\n",
                 clients, requests);
    EpollBaseline baseline({.session_limit = 9, .reply_port = std::nullopt, .reply = {}});
    const Measured base = InProcess(baseline, 0).load(clients, requests);
    report("baseline", "12 in flight", base);
    const Measured ours = InProcess(orvanta, 0).load(clients, requests);
    report("Orvanta", "12 in flight", ours);
    const auto turned_away = [](const Measured& m) {
        const double total = m.client.total();
        return 100.0 * (total - static_cast<double>(m.processed)) / total;
    };
    return {{"Bursts, 12 in flight, turned away", "%", turned_away(ours), turned_away(base),
             Goal{Goal::Kind::AtMostTimesBaseline, 1.0}, 2}};
}

}  // namespace bench
