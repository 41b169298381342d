#include "figures.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>
#include <stdexcept>
#include <string>

#include "drive.h"
#include "epoll_baseline.h"
#include "load_client.h"
#include "net.h"
#include "scraper.h"
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

std::vector<Row> scraped_rows(Subject& orvanta, std::uint16_t metrics_port, int requests) {
    constexpr int pairs = 5;
    constexpr std::chrono::milliseconds scrape_interval{100};
    std::fprintf(stderr,
                 "Throughput while scraped (in-process): DISCON while disconnected, %d requests "
                 "per run, %d runs with and %d without a scraper at 10 scrapes a second\n",
                 requests, pairs, pairs);
    orvanta.load(4, requests / 20);
    std::vector<Row> rows;
    for (const int in_flight : {1, 4}) {
        const std::string what = std::to_string(in_flight) + " in flight";
        std::vector<double> plain;
        std::vector<double> scraped;
        for (int pair = 0; pair < pairs; ++pair) {
            // Which run of a pair comes first alternates, so that a machine
            // slowing down or speeding up weighs on both alike.
            for (const bool with_scraper : {pair % 2 == 1, pair % 2 == 0}) {
                std::optional<Scraper> scraper;
                if (with_scraper) {
                    scraper.emplace(metrics_port, scrape_interval);
                }
                const Measured measured = orvanta.load(in_flight, requests);
                report("Orvanta", what + (with_scraper ? ", scraped" : ", not scraped"), measured);
                (with_scraper ? scraped : plain).push_back(per_second(measured));
                if (scraper) {
                    std::fprintf(stderr, "  scraper: %d scrapes, %d failed\n", scraper->scrapes(),
                                 scraper->failures());
                    if (scraper->failures() > 0 || scraper->scrapes() == 0) {
                        throw std::runtime_error("the scraper did not get Orvanta's metrics");
                    }
                }
            }
        }
        // The noise: how far identical runs without a scraper fall below
        // their median. A scraped median above the slowest of them differs
        // by less than the runs differ among themselves.
        const double median = percentile(plain, 50);
        const double slowest = *std::min_element(plain.begin(), plain.end());
        const double floor = median > 0 ? slowest / median : 1;
        std::fprintf(stderr, "  %s: the slowest unscraped run at %.3f of their median\n",
                     what.c_str(), floor);
        rows.push_back({"Throughput, " + what + ", scraped 10/s (in-process)", "req/s",
                        percentile(scraped, 50), median,
                        Goal{Goal::Kind::AtLeastTimesBaseline, floor}, 0});
    }
    return rows;
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
