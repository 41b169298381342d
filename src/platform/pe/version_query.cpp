#include "platform/pe/version_query.h"

#include <string>

#include "platform/pe/ascii_case.h"
#include "platform/pe/version_block.h"
#include "util/cp1252.h"

namespace platform::pe {

namespace {

// The names of a path, skipping the empty ones around separators.
std::vector<std::string_view> names_of(std::string_view path) {
    std::vector<std::string_view> names;
    while (!path.empty()) {
        const std::size_t separator = path.find('\\');
        const std::string_view name = path.substr(0, separator);
        if (!name.empty()) {
            names.push_back(name);
        }
        if (separator == std::string_view::npos) {
            break;
        }
        path.remove_prefix(separator + 1);
    }
    return names;
}

bool is_string_file_info(std::string_view name) {
    return equal_ignoring_ascii_case(name, "StringFileInfo");
}

}  // namespace

std::optional<std::vector<std::uint8_t>> query_version_value(ByteView record,
                                                             std::string_view sub_block) {
    auto block = VersionBlock::parse(record, 0, record.size());
    const std::vector<std::string_view> names = names_of(sub_block);
    // The walk goes down one level per name, so the path bounds its depth.
    for (const std::string_view name : names) {
        if (!block) {
            return std::nullopt;
        }
        block = block->child(name);
    }
    if (!block) {
        return std::nullopt;
    }
    // Like the Windows function, decide text by where the value lives rather
    // than by wType, which some resource compilers get wrong.
    if (!names.empty() && is_string_file_info(names.front())) {
        const std::string text = util::cp1252_from_utf16(block->text_value());
        std::vector<std::uint8_t> bytes(text.begin(), text.end());
        bytes.push_back(0);
        return bytes;
    }
    const auto value = block->binary_value().bytes();
    return std::vector<std::uint8_t>(value.begin(), value.end());
}

}  // namespace platform::pe
