#include "util/version_record.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <optional>

#include "platform/failure.h"
#include "util/cp1252.h"

namespace util {

namespace {

// Values are copied through a buffer of this many characters, which must
// also hold the terminating NUL.
constexpr std::size_t value_buffer = 128;

bool blank(const std::string& text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c == ' '; });
}

}  // namespace

VersionRecordReader::VersionRecordReader(platform::VersionInfo& info) : info_(info) {}

// Every step passes over its own failure: a failing read of the size, of the
// record or of the translation table ends in false with the fields untouched,
// and a failing value keeps that one field as it was.
bool VersionRecordReader::ReadVersionRecord(const std::string& file_name) {
    std::uint32_t size = 0;
    platform::resume_next([&] { size = info_.record_size(file_name); });
    if (size == 0) {
        return false;
    }
    raw_.assign(static_cast<std::size_t>(size) + 1, 0);

    bool loaded = false;
    platform::resume_next([&] { loaded = info_.read_record(file_name, raw_); });
    if (!loaded) {
        return false;
    }

    std::optional<std::vector<std::uint8_t>> translation;
    platform::resume_next(
        [&] { translation = info_.query_value(raw_, "\\VarFileInfo\\Translation"); });
    if (!translation || translation->size() < 4) {
        return false;
    }

    // Only the first entry counts: language in the upper half, code page in the lower.
    const auto& t = *translation;
    const std::uint32_t number =
        static_cast<std::uint32_t>(t[2]) | (static_cast<std::uint32_t>(t[3]) << 8U) |
        (static_cast<std::uint32_t>(t[0]) << 16U) | (static_cast<std::uint32_t>(t[1]) << 24U);
    std::array<char, 9> hex{};
    std::snprintf(hex.data(), hex.size(), "%08X", number);
    translation_key_ = hex.data();

    const std::pair<const char*, std::string VersionRecord::*> fields[] = {
        {"CompanyName", &VersionRecord::CompanyName},
        {"FileDescription", &VersionRecord::FileDescription},
        {"FileVersion", &VersionRecord::FileVersion},
        {"InternalName", &VersionRecord::InternalName},
        {"LegalCopyright", &VersionRecord::LegalCopyright},
        {"OriginalFileName", &VersionRecord::OriginalFileName},
        {"ProductName", &VersionRecord::ProductName},
        {"ProductVersion", &VersionRecord::ProductVersion},
    };
    for (const auto& entry : fields) {
        platform::resume_next([&] { record_.*entry.second = GetVersionString(entry.first); });
    }
    return !blank(record_.ProductVersion);
}

void VersionRecordReader::LoadVersionRecord(const std::string& file_name) {
    platform::resume_next([&] { static_cast<void>(ReadVersionRecord(file_name)); });
}

std::string VersionRecordReader::GetVersionString(const std::string& key) {
    const auto value =
        info_.query_value(raw_, "\\StringFileInfo\\" + translation_key_ + "\\" + key);
    if (!value) {
        return {};
    }
    const auto end = std::find(value->begin(), value->end(), std::uint8_t{0});
    const auto length = static_cast<std::size_t>(end - value->begin());
    if (length >= value_buffer) {
        // No room for the terminator: the value is refused, never cut or
        // written past the buffer.
        throw platform::Failure("version value of " + key + " is too long");
    }
    return from_cp1252(std::string(value->begin(), end));
}

}  // namespace util
