#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/navsim/text_file.h"

namespace platform::navsim {

// One small text file, read again only when it may have changed since the
// last read. The state file is consulted for every request a client makes;
// looking at its times and size costs one system call, reading it four.
//
// A change shows in the file's identity, size, or modification and change
// times. The file system keeps those times coarsely, though, so a file that
// had changed shortly before it was read could change again without its times
// moving. A text read within `settling` of the file's last change is
// therefore never trusted: the file is read each time until it has been
// still for that long.
class TextFileCache {
  public:
    static constexpr std::chrono::seconds default_settling{2};

    explicit TextFileCache(std::filesystem::path path,
                           std::chrono::nanoseconds settling = default_settling);

    // As read_text_file(path). Never throws for I/O reasons.
    TextFileRead read();

  private:
    struct Stamp {
        dev_t device = 0;
        ino_t inode = 0;
        off_t size = 0;
        std::int64_t modified_ns = 0;
        std::int64_t changed_ns = 0;
        bool operator==(const Stamp&) const = default;
    };
    // Empty when no regular file is at the path.
    std::optional<Stamp> stamp_now() const;
    bool settled(const Stamp& stamp) const;

    std::filesystem::path path_;
    std::chrono::nanoseconds settling_;
    // The stamp of the file when text_ was read, while text_ can be trusted.
    std::optional<Stamp> trusted_;
    std::string text_;
};

}  // namespace platform::navsim
