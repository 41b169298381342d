#include "platform/prometheus/process_collector.h"

#include <dirent.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>

#include "platform/prometheus/proc_stat.h"

namespace platform::prometheus {

namespace {

using ::prometheus::ClientMetric;
using ::prometheus::MetricFamily;
using ::prometheus::MetricType;

std::optional<std::string> read_file(const char* path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return std::nullopt;
    }
    std::ostringstream text;
    text << file.rdbuf();
    return file.bad() ? std::nullopt : std::optional<std::string>(text.str());
}

// The descriptors open in this process, without the one that lists them.
std::optional<int> open_descriptors() {
    DIR* folder = ::opendir("/proc/self/fd");
    if (folder == nullptr) {
        return std::nullopt;
    }
    const std::string own = std::to_string(::dirfd(folder));
    int count = 0;
    while (const dirent* entry = ::readdir(folder)) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != ".." && name != own) {
            ++count;
        }
    }
    ::closedir(folder);
    return count;
}

MetricFamily family(const char* name, const char* help, MetricType type, double value) {
    ClientMetric metric;
    if (type == MetricType::Counter) {
        metric.counter.value = value;
    } else {
        metric.gauge.value = value;
    }
    return {name, help, type, {metric}};
}

}  // namespace

ProcessCollector::ProcessCollector()
    : ticks_per_second_(static_cast<double>(::sysconf(_SC_CLK_TCK))),
      page_bytes_(static_cast<double>(::sysconf(_SC_PAGESIZE))) {
    if (const auto text = read_file("/proc/stat")) {
        boot_time_ = parse_boot_time(*text);
    }
}

std::vector<MetricFamily> ProcessCollector::Collect() const {
    std::vector<MetricFamily> families;
    const auto text = read_file("/proc/self/stat");
    if (const auto stat = text ? parse_process_stat(*text) : std::nullopt) {
        families.push_back(
            family("process_cpu_seconds_total", "Total user and system CPU time spent in seconds.",
                   MetricType::Counter,
                   static_cast<double>(stat->user_ticks + stat->system_ticks) / ticks_per_second_));
        families.push_back(family("process_virtual_memory_bytes", "Virtual memory size in bytes.",
                                  MetricType::Gauge, static_cast<double>(stat->virtual_bytes)));
        families.push_back(family("process_resident_memory_bytes", "Resident memory size in bytes.",
                                  MetricType::Gauge,
                                  static_cast<double>(stat->resident_pages) * page_bytes_));
        if (boot_time_) {
            families.push_back(
                family("process_start_time_seconds",
                       "Start time of the process since unix epoch in seconds.", MetricType::Gauge,
                       static_cast<double>(*boot_time_) +
                           static_cast<double>(stat->start_ticks) / ticks_per_second_));
        }
    }
    if (const auto descriptors = open_descriptors()) {
        families.push_back(family("process_open_fds", "Number of open file descriptors.",
                                  MetricType::Gauge, *descriptors));
    }
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY) {
        families.push_back(family("process_max_fds", "Maximum number of open file descriptors.",
                                  MetricType::Gauge, static_cast<double>(limit.rlim_cur)));
    }
    return families;
}

}  // namespace platform::prometheus
