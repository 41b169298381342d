// Orvanta's benchmark: measures the server's throughput, status round trip
// and behaviour under bursts, and the program's idle footprint, each beside
// a minimal baseline measured in the same run, and prints one table. Progress
// goes to standard error, the table to standard output.
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

#include "figures.h"
#include "footprint.h"
#include "net.h"
#include "orvanta_under_test.h"
#include "platform/qt/application.h"
#include "program_folder.h"
#include "table.h"

namespace {

struct Scale {
    int throughput_requests = 20000;
    int round_trips = 2000;
    int burst_requests = 5000;
    bench::FootprintOptions footprint;
};

Scale quick() {
    Scale scale;
    scale.throughput_requests /= 10;
    scale.round_trips /= 10;
    scale.burst_requests /= 10;
    scale.footprint.idle = std::chrono::seconds(6);
    scale.footprint.all_requests /= 10;
    return scale;
}

std::vector<bench::Row> server_rows(const Scale& scale) {
    // Orvanta's own folder, with its poll at the longest interval there is,
    // so that only requests read the link state.
    bench::ProgramFolder folder("in-process");
    folder.copy_in(bench::build_folder() + "/NAVCTRL.OCX");
    const bench::PortPair ports = bench::free_port_pair();
    folder.write_settings(ports.listen, ports.reply, 32767);
    folder.write_navigator_state();
    std::fprintf(stderr, "Starting Orvanta in-process on port %u (reply port %u)\n", ports.listen,
                 ports.reply);
    bench::OrvantaUnderTest orvanta(folder.path(), ports.listen);

    std::vector<bench::Row> rows = bench::throughput_rows(orvanta, scale.throughput_requests);
    for (auto& row : bench::round_trip_rows(orvanta, ports.reply, scale.round_trips)) {
        rows.push_back(std::move(row));
    }
    for (auto& row : bench::burst_rows(orvanta, scale.burst_requests)) {
        rows.push_back(std::move(row));
    }
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
        std::vector<bench::Row> rows = server_rows(scale);
        for (auto& row : bench::footprint_rows(scale.footprint)) {
            rows.push_back(std::move(row));
        }
        std::cout << bench::format_table(rows) << std::flush;
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "orvanta_bench: %s\n", error.what());
        return 1;
    }
}
