#pragma once

#include <unistd.h>

#include <cerrno>
#include <utility>

namespace platform::posix {

// Owns one file descriptor and closes it exactly once, when it is reset or
// ends; a moved-from descriptor owns nothing. Closing keeps errno, so that
// the error of the call that failed on the descriptor outlives it.
class Descriptor {
  public:
    Descriptor() = default;
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(Descriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    Descriptor& operator=(Descriptor&& other) noexcept {
        if (this != &other) {
            reset();
            fd_ = std::exchange(other.fd_, -1);
        }
        return *this;
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() { reset(); }

    int get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }
    void reset() {
        if (fd_ >= 0) {
            const int error = errno;
            ::close(std::exchange(fd_, -1));
            errno = error;
        }
    }

  private:
    int fd_ = -1;
};

}  // namespace platform::posix
