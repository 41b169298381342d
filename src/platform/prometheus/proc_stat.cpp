#include "platform/prometheus/proc_stat.h"

#include <algorithm>
#include <charconv>
#include <string_view>
#include <system_error>
#include <vector>

namespace platform::prometheus {

namespace {

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

}  // namespace platform::prometheus
