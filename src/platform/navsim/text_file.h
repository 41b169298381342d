#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace platform::navsim {

struct TextFileRead {
    enum class Outcome {
        Read,        // text holds the whole file
        Missing,     // nothing at the path
        Unreadable,  // something is there but could not be read
    };
    Outcome outcome = Outcome::Missing;
    std::string text;
};

// The whole content of the file at `path`. Never throws for I/O reasons.
TextFileRead read_text_file(const std::filesystem::path& path);

// Replaces the file at `path` with `text` so that a reader sees either the old
// file or the new one, never a mix: the text goes to a temporary file in the
// same folder, which is then renamed over `path`. Returns false, leaving `path`
// as it was, when that cannot be done. Never throws for I/O reasons.
bool replace_text_file(const std::filesystem::path& path, std::string_view text);

}  // namespace platform::navsim
