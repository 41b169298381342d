#include "platform/navsim/text_file_cache.h"

#include <sys/stat.h>

#include <algorithm>
#include <ctime>
#include <utility>

namespace platform::navsim {

namespace {

std::int64_t nanoseconds(const timespec& time) {
    return static_cast<std::int64_t>(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
}

}  // namespace

TextFileCache::TextFileCache(std::filesystem::path path, std::chrono::nanoseconds settling)
    : path_(std::move(path)), settling_(settling) {}

TextFileRead TextFileCache::read() {
    const std::optional<Stamp> before = stamp_now();
    if (!before) {
        // Nothing usable there: read_text_file tells what there is.
        trusted_.reset();
        return read_text_file(path_);
    }
    if (trusted_ && *trusted_ == *before) {
        return {TextFileRead::Outcome::Read, text_};
    }
    trusted_.reset();
    TextFileRead read = read_text_file(path_);
    if (read.outcome != TextFileRead::Outcome::Read) {
        return read;
    }
    // Trusted only if nothing moved while it was read, and not since long
    // enough before for the file system's clock to have moved on.
    const std::optional<Stamp> after = stamp_now();
    if (after && *after == *before && settled(*before)) {
        trusted_ = before;
        text_ = read.text;
    }
    return read;
}

std::optional<TextFileCache::Stamp> TextFileCache::stamp_now() const {
    struct stat status {};
    if (::stat(path_.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) {
        return std::nullopt;
    }
    return Stamp{status.st_dev, status.st_ino, status.st_size, nanoseconds(status.st_mtim),
                 nanoseconds(status.st_ctim)};
}

bool TextFileCache::settled(const Stamp& stamp) const {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    const std::int64_t last_change = std::max(stamp.modified_ns, stamp.changed_ns);
    return nanoseconds(now) - last_change >= settling_.count();
}

}  // namespace platform::navsim
