#include "platform/pe/pe_version_info.h"

#include <algorithm>
#include <exception>

#include "platform/pe/file_bytes.h"
#include "platform/pe/resource_directory.h"
#include "platform/pe/version_query.h"

namespace platform::pe {

std::optional<std::vector<std::uint8_t>> PeVersionInfo::record_of(const std::string& path) {
    const auto file = read_file_bytes(path, max_file_size);
    if (!file) {
        return std::nullopt;
    }
    const auto record = find_version_record(ByteView(*file));
    if (!record) {
        return std::nullopt;
    }
    return std::vector<std::uint8_t>(record->bytes().begin(), record->bytes().end());
}

std::uint32_t PeVersionInfo::record_size(const std::string& path) {
    try {
        const auto record = record_of(path);
        // The file size cap keeps every record far below 4 GiB.
        return record ? static_cast<std::uint32_t>(record->size()) : 0;
    } catch (const std::exception&) {
        return 0;
    }
}

bool PeVersionInfo::read_record(const std::string& path, std::vector<std::uint8_t>& buffer) {
    try {
        const auto record = record_of(path);
        if (!record) {
            return false;
        }
        if (buffer.size() < record->size()) {
            buffer.resize(record->size());
        }
        std::copy(record->begin(), record->end(), buffer.begin());
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

std::optional<std::vector<std::uint8_t>> PeVersionInfo::query_value(
    const std::vector<std::uint8_t>& record, const std::string& sub_block) {
    try {
        return query_version_value(ByteView(record), sub_block);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

}  // namespace platform::pe
