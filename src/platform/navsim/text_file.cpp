#include "platform/navsim/text_file.h"

#include <unistd.h>

#include <fstream>
#include <iterator>
#include <system_error>

namespace platform::navsim {

TextFileRead read_text_file(const std::filesystem::path& path) {
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (status.type() == std::filesystem::file_type::not_found) {
        return {TextFileRead::Outcome::Missing, {}};
    }
    // A folder opens as a stream on Linux and then fails to read; ruling it out
    // here keeps every odd kind of entry on the same "unreadable" path.
    if (error || status.type() != std::filesystem::file_type::regular) {
        return {TextFileRead::Outcome::Unreadable, {}};
    }
    std::ifstream in(path, std::ios::binary);
    if (!in.is_open()) {
        return {TextFileRead::Outcome::Unreadable, {}};
    }
    std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    return {TextFileRead::Outcome::Read, std::move(text)};
}

bool replace_text_file(const std::filesystem::path& path, std::string_view text) {
    // The process id keeps two running copies of the program from sharing a
    // temporary name; the suffix keeps it apart from the names editors use.
    std::filesystem::path temporary = path;
    temporary += ".";
    temporary += std::to_string(::getpid());
    temporary += ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        out.close();
        if (out.fail()) {
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            return false;
        }
    }
    std::error_code error;
    std::filesystem::rename(temporary, path, error);
    if (error) {
        std::filesystem::remove(temporary, error);
        return false;
    }
    return true;
}

}  // namespace platform::navsim
