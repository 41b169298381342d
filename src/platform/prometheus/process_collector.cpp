#include "platform/prometheus/process_collector.h"

#include <dirent.h>
#include <sys/resource.h>
#include <unistd.h>

#include <charconv>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

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

// The whitespace-separated fields of text, in order.
std::vector<std::string_view> fields_of(std::string_view text) {
    std::vector<std::string_view> fields;
    std::size_t at = 0;
    while (true) {
        at = text.find_first_not_of(" \n", at);
        if (at == std::string_view::npos) {
            return fields;
        }
        const std::size_t end = std::min(text.find_first_of(" \n", at), text.size());
        fields.push_back(text.substr(at, end - at));
        at = end;
    }
}

std::optional<std::uint64_t> number(std::string_view text) {
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
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

std::optional<ProcessStat> parse_process_stat(std::string_view text) {
    const std::size_t name_end = text.rfind(')');
    if (name_end == std::string_view::npos) {
        return std::nullopt;
    }
    // After the name: state (field 3), then fields 4 onwards.
    const std::vector<std::string_view> fields = fields_of(text.substr(name_end + 1));
    const auto field = [&](std::size_t number_in_stat) -> std::optional<std::uint64_t> {
        const std::size_t index = number_in_stat - 3;
        return index < fields.size() ? number(fields[index]) : std::nullopt;
    };
    const auto user = field(14), system = field(15), start = field(22), virtual_bytes = field(23),
               resident = field(24);
    if (!user || !system || !start || !virtual_bytes || !resident) {
        return std::nullopt;
    }
    return ProcessStat{*user, *system, *start, *virtual_bytes, *resident};
}

std::optional<std::uint64_t> parse_boot_time(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = std::min(text.find('\n', at), text.size());
        const std::vector<std::string_view> fields = fields_of(text.substr(at, end - at));
        if (fields.size() == 2 && fields[0] == "btime") {
            return number(fields[1]);
        }
        at = end + 1;
    }
    return std::nullopt;
}

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
