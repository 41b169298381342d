// Orvanta's benchmark: measures the server's throughput, status round trip,
// behaviour under bursts and closing order, in the benchmark's process and as
// the program a user runs, and the program's idle footprint, each beside a
// minimal baseline measured in the same run, and its throughput while its
// metrics are scraped beside the same without, and prints one table.
// Progress goes to standard error, the table to standard output.
//
//   orvanta_bench            the full run, a few minutes
//   orvanta_bench --quick    a tenth of the requests and a 6 s idle, to try things
#include <QApplication>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <string_view>

#include "closing_order.h"
#include "cores.h"
#include "epoll_baseline.h"
#include "figures.h"
#include "footprint.h"
#include "net.h"
#include "orvanta_under_test.h"
#include "platform/prometheus/prometheus_metrics.h"
#include "platform/qt/application.h"
#include "program_folder.h"
#include "server_process.h"
#include "table.h"

namespace {

struct Scale {
    int throughput_requests = 20000;
    int round_trips = 20000;
    int burst_requests = 5000;
    int closing_order_trials = 200;
    bench::FootprintOptions footprint;
};

Scale quick() {
    Scale scale;
    scale.throughput_requests /= 10;
    scale.round_trips /= 10;
    scale.burst_requests /= 10;
    scale.closing_order_trials /= 10;
    scale.footprint.first_requests /= 10;
    scale.footprint.idle = std::chrono::seconds(6);
    scale.footprint.all_requests /= 10;
    return scale;
}

void append(std::vector<bench::Row>& rows, std::vector<bench::Row> more) {
    for (auto& row : more) {
        rows.push_back(std::move(row));
    }
}

std::vector<bench::Row> in_process_rows(const Scale& scale) {
    bench::ProgramFolder folder("in-process");
    const bench::PortPair ports = folder.ready_for_orvanta(bench::longest_poll_seconds);
    std::fprintf(stderr, "Starting Orvanta in-process on port %u (reply port %u)\n", ports.listen,
                 ports.reply);
    bench::OrvantaUnderTest orvanta(folder.path(), ports.listen);
    bench::InProcess ours(orvanta, ports.reply);
    bench::EpollBaseline::Options options;
    options.reply_port = bench::free_port_pair().listen;
    bench::EpollBaseline baseline_server(options);
    bench::InProcess baseline(baseline_server, *options.reply_port);

    std::vector<bench::Row> rows;
    append(rows, bench::throughput_rows("in-process", ours, baseline, scale.throughput_requests));
    append(rows, bench::round_trip_rows("in-process", ours, baseline, scale.round_trips));
    append(rows, bench::burst_rows(orvanta, scale.burst_requests));
    append(rows, bench::closing_order_rows(orvanta, scale.closing_order_trials));
    return rows;
}

// The same composition with its metrics served, as `metrics` in orvanta.conf
// asks, on a port of the system's choosing: its throughput beside a scraper
// and without one.
std::vector<bench::Row> scraped_rows(const Scale& scale) {
    bench::ProgramFolder folder("scraped");
    const bench::PortPair ports = folder.ready_for_orvanta(bench::longest_poll_seconds);
    platform::prometheus::PrometheusMetrics metrics("127.0.0.1", 0);
    std::fprintf(stderr, "Starting Orvanta in-process on port %u, its metrics on port %u\n",
                 ports.listen, metrics.port());
    bench::OrvantaUnderTest orvanta(folder.path(), ports.listen, &metrics);
    bench::InProcess ours(orvanta, ports.reply);
    return bench::scraped_rows(ours, metrics.port(), scale.throughput_requests);
}

// The program as its user runs it and the baseline as a program of its own,
// both on one core, their clients on another.
std::vector<bench::Row> program_rows(const Scale& scale) {
    const int server_core = bench::server_core();
    const int client_core = bench::client_core();
    std::fprintf(stderr,
                 "Starting orvanta and the baseline as programs on core %d, clients on %d\n",
                 server_core, client_core);
    const auto orvanta = bench::ServerProcess::orvanta(server_core, 32767);
    const auto baseline = bench::ServerProcess::baseline(server_core);
    std::vector<bench::Row> rows;
    {
        const bench::PinnedThread clients(client_core);
        append(rows,
               bench::throughput_rows("program", *orvanta, *baseline, scale.throughput_requests));
        append(rows, bench::round_trip_rows("program", *orvanta, *baseline, scale.round_trips));
    }
    orvanta->stop();
    baseline->stop();
    return rows;
}

}  // namespace

int main(int argc, char* argv[]) {
    const bool is_quick = argc > 1 && std::string_view(argv[1]) == "--quick";
    // A client may write to a connection the server has just dropped.
    std::signal(SIGPIPE, SIG_IGN);
    // Orvanta's windows are drawn, but not on a screen.
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    const auto application = platform::qt::make_application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    try {
        const Scale scale = is_quick ? quick() : Scale{};
        std::vector<bench::Row> rows = in_process_rows(scale);
        append(rows, scraped_rows(scale));
        append(rows, program_rows(scale));
        append(rows, bench::footprint_rows(scale.footprint));
        std::cout << bench::format_table(rows) << std::flush;
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "orvanta_bench: %s\n", error.what());
        return 1;
    }
}
