#include "platform/posix/posix_file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/failure.h"

namespace platform::posix {

namespace {

[[noreturn]] void fail(std::string_view operation, const std::string& path, int error) {
    throw Failure(std::string(operation) + " " + path + ": " + std::strerror(error));
}

// Closes a descriptor once; a close interrupted by a signal is not retried,
// since on Linux the descriptor is gone either way.
int close_descriptor(int& descriptor) {
    const int result = ::close(descriptor);
    descriptor = -1;
    return result;
}

std::string folder_of(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The mode that open() would give a new file: 0666 less the umask. The umask
// can only be read by setting it, so it is put straight back; the program has
// one thread, so no file is created in between.
mode_t default_file_mode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

class PosixOutputFile final : public OutputFile {
  public:
    PosixOutputFile(std::string path, int descriptor)
        : path_(std::move(path)), descriptor_(descriptor) {}
    ~PosixOutputFile() override {
        if (descriptor_ >= 0) {
            close_descriptor(descriptor_);
        }
    }

    const std::string& path() const override { return path_; }

    void write(std::string_view bytes) override {
        check_open("write");
        while (!bytes.empty()) {
            const ssize_t written = ::write(descriptor_, bytes.data(), bytes.size());
            if (written < 0 && errno == EINTR) {
                continue;
            }
            if (written < 0) {
                fail("write", path_, errno);
            }
            // A write that takes nothing would loop for ever; a full disk is
            // the likely cause.
            if (written == 0) {
                fail("write", path_, ENOSPC);
            }
            bytes.remove_prefix(static_cast<std::size_t>(written));
        }
    }

    void commit() override {
        check_open("commit");
        if (::fsync(descriptor_) != 0) {
            const int error = errno;
            close_descriptor(descriptor_);
            fail("fsync", path_, error);
        }
        // Some file systems report a failed write only when the file closes.
        if (close_descriptor(descriptor_) != 0) {
            fail("close", path_, errno);
        }
    }

  private:
    void check_open(std::string_view operation) const {
        if (descriptor_ < 0) {
            fail(operation, path_, EBADF);
        }
    }

    std::string path_;
    int descriptor_;
};

void sync_folder(const std::string& folder) {
    const int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor >= 0) {
        ::fsync(descriptor);
        ::close(descriptor);
    }
}

}  // namespace

bool PosixFileSystem::is_regular_file(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        if (errno == ENOENT || errno == ENOTDIR) {
            return false;
        }
        fail("stat", path, errno);
    }
    return S_ISREG(status.st_mode);
}

bool PosixFileSystem::exists(const std::string& path) {
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0;
}

void PosixFileSystem::make_folders(const std::string& path, unsigned mode) {
    if (path.empty()) {
        return;
    }
    // Parents first, each one only when it is missing.
    for (std::size_t end = path.find('/', 1);; end = path.find('/', end + 1)) {
        const std::string folder = path.substr(0, end);
        struct stat status {};
        if (::stat(folder.c_str(), &status) != 0) {
            if (::mkdir(folder.c_str(), static_cast<mode_t>(mode)) != 0 && errno != EEXIST) {
                fail("mkdir", folder, errno);
            }
            // mkdir takes the umask away; the mode asked for is what counts.
            ::chmod(folder.c_str(), static_cast<mode_t>(mode));
        } else if (!S_ISDIR(status.st_mode)) {
            fail("mkdir", folder, ENOTDIR);
        }
        if (end == std::string::npos) {
            return;
        }
    }
}

std::string PosixFileSystem::read_file(const std::string& path) {
    int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) {
        fail("open", path, errno);
    }
    std::string content;
    std::vector<char> buffer(64 * 1024);
    for (;;) {
        const ssize_t got = ::read(descriptor, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            const int error = errno;
            close_descriptor(descriptor);
            fail("read", path, error);
        }
        if (got == 0) {
            break;
        }
        content.append(buffer.data(), static_cast<std::size_t>(got));
    }
    close_descriptor(descriptor);
    return content;
}

bool PosixFileSystem::is_writable(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        return false;
    }
    if ((status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
        return false;
    }
    return ::access(path.c_str(), W_OK) == 0;
}

std::unique_ptr<OutputFile> PosixFileSystem::create_temporary(const std::string& folder) {
    std::string pattern = folder.empty() ? std::string(".") : folder;
    if (pattern.back() != '/') {
        pattern += '/';
    }
    pattern += ".orvanta-XXXXXX";
    const int descriptor = ::mkstemp(pattern.data());
    if (descriptor < 0) {
        fail("create a temporary file in", folder, errno);
    }
    // Neither can fail on a descriptor just opened; a failure would only leave
    // the file inherited by a child, or readable by its owner alone.
    ::fcntl(descriptor, F_SETFD, FD_CLOEXEC);
    ::fchmod(descriptor, default_file_mode());
    return std::make_unique<PosixOutputFile>(std::move(pattern), descriptor);
}

void PosixFileSystem::replace(const std::string& from, const std::string& to) {
    struct stat status {};
    if (::stat(to.c_str(), &status) == 0 && S_ISREG(status.st_mode)) {
        ::chmod(from.c_str(), status.st_mode & 07777);  // best effort, as the owner may differ
    }
    if (::rename(from.c_str(), to.c_str()) != 0) {
        fail("rename " + from + " to", to, errno);
    }
    sync_folder(folder_of(to));
}

void PosixFileSystem::remove(const std::string& path) noexcept {
    ::unlink(path.c_str());
}

}  // namespace platform::posix
