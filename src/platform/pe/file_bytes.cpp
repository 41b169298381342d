#include "platform/pe/file_bytes.h"

#include <filesystem>
#include <fstream>
#include <system_error>

namespace platform::pe {

std::optional<std::vector<std::uint8_t>> read_file_bytes(const std::string& path,
                                                         std::size_t limit) {
    try {
        std::error_code error;
        // A folder opens as a stream on Linux and only fails when read.
        if (!std::filesystem::is_regular_file(path, error) || error) {
            return std::nullopt;
        }
        const std::uintmax_t size = std::filesystem::file_size(path, error);
        if (error || size > limit) {
            return std::nullopt;
        }
        std::ifstream in(path, std::ios::binary);
        if (!in.is_open()) {
            return std::nullopt;
        }
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
        in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        // A file that shrank while being read is read again next time.
        if (static_cast<std::size_t>(in.gcount()) != bytes.size()) {
            return std::nullopt;
        }
        return bytes;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

}  // namespace platform::pe
