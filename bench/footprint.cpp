#include "footprint.h"

#include <cstdio>
#include <stdexcept>
#include <thread>

#include "child_process.h"
#include "load_client.h"
#include "proc_stats.h"
#include "program_folder.h"
#include "server_process.h"

namespace bench {

namespace {

using std::chrono::milliseconds;

struct Usage {
    long rss_kib;
    int descriptors;
};

Usage serve_discon(const ServerProcess& orvanta, int requests, std::chrono::seconds settle) {
    const LoadResult result = run_load({orvanta.port(), 4, requests, "DISCON"});
    std::fprintf(stderr, "  %d DISCON requests in %.2f s: %d taken, %d turned away, %d reset\n",
                 result.total(), result.seconds, result.taken, result.turned_away, result.reset);
    if (result.taken != requests) {
        throw std::runtime_error("orvanta did not take every request");
    }
    std::this_thread::sleep_for(settle);
    return {status_kib(orvanta.pid(), "VmRSS"), open_descriptors(orvanta.pid())};
}

}  // namespace

std::vector<Row> footprint_rows(const FootprintOptions& options) {
    ProgramFolder minimal_folder("minimal");
    minimal_folder.copy_in(build_folder() + "/orvanta_minimal_qt");

    std::fprintf(stderr, "Footprint: orvanta and the minimal Qt program, %lld s idle\n",
                 static_cast<long long>(options.idle.count()));
    ChildProcess minimal({minimal_folder / "orvanta_minimal_qt"}, minimal_folder.path(),
                         minimal_folder / "stderr.log");
    const std::unique_ptr<ServerProcess> orvanta =
        ServerProcess::orvanta(std::nullopt, options.poll_seconds);
    if (minimal.read_line(milliseconds(20000)) != "ready") {
        throw std::runtime_error("the minimal Qt program did not start");
    }

    const double orvanta_ticks_start = cpu_milliseconds(orvanta->pid());
    const double minimal_ticks_start = cpu_milliseconds(minimal.pid());
    const ThreadTimes orvanta_start = thread_cpu_milliseconds(orvanta->pid());
    const ThreadTimes minimal_start = thread_cpu_milliseconds(minimal.pid());
    std::this_thread::sleep_for(options.idle);
    // Each thread's time to the nanosecond: /proc/<pid>/stat counts user and
    // system time in ticks of 10 ms each, as coarse as the figure itself.
    const double orvanta_cpu =
        cpu_milliseconds_between(orvanta_start, thread_cpu_milliseconds(orvanta->pid()));
    const double minimal_cpu =
        cpu_milliseconds_between(minimal_start, thread_cpu_milliseconds(minimal.pid()));
    std::fprintf(stderr, "  idle CPU in ticks: orvanta %.0f ms, minimal %.0f ms\n",
                 cpu_milliseconds(orvanta->pid()) - orvanta_ticks_start,
                 cpu_milliseconds(minimal.pid()) - minimal_ticks_start);
    const long orvanta_peak = status_kib(orvanta->pid(), "VmHWM");
    const long minimal_peak = status_kib(minimal.pid(), "VmHWM");
    std::fprintf(stderr, "  idle CPU: orvanta %.1f ms, minimal %.1f ms; peak RSS %ld / %ld KiB\n",
                 orvanta_cpu, minimal_cpu, orvanta_peak, minimal_peak);
    minimal.stop(milliseconds(5000));

    std::fprintf(stderr, "Footprint: RSS and descriptors after %d and %d requests\n",
                 options.first_requests, options.all_requests);
    const Usage first = serve_discon(*orvanta, options.first_requests, options.settle);
    const Usage all =
        serve_discon(*orvanta, options.all_requests - options.first_requests, options.settle);
    std::fprintf(stderr, "  RSS %ld -> %ld KiB, descriptors %d -> %d\n", first.rss_kib, all.rss_kib,
                 first.descriptors, all.descriptors);
    orvanta->stop();

    const std::string idle = std::to_string(options.idle.count()) + " s";
    const std::string span = std::to_string(options.first_requests / 1000) + "k -> " +
                             std::to_string(options.all_requests / 1000) + "k requests";
    // Idle CPU and peak RSS must be no worse than in the last run before the
    // socket engine (docs/performance.md): 1.26 and 1.28 times the minimal
    // Qt program.
    return {
        {"Idle CPU over " + idle, "ms", orvanta_cpu, minimal_cpu,
         Goal{Goal::Kind::AtMostTimesBaseline, 1.26}, 1},
        {"Peak RSS (VmHWM)", "MiB", static_cast<double>(orvanta_peak) / 1024.0,
         static_cast<double>(minimal_peak) / 1024.0, Goal{Goal::Kind::AtMostTimesBaseline, 1.28},
         1},
        {"RSS change, " + span, "KiB", static_cast<double>(all.rss_kib - first.rss_kib),
         std::nullopt, Goal{Goal::Kind::Within, 1024}, 0},
        {"Open fds change, " + span, "fds",
         static_cast<double>(all.descriptors - first.descriptors), std::nullopt,
         Goal{Goal::Kind::Within, 0}, 0},
    };
}

}  // namespace bench
