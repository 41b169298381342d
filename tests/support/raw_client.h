#pragma once

#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <string>
#include <string_view>

#include "support/loopback.h"

namespace test_support {

constexpr int patience_ms = 5000;

// A client on a plain socket to 127.0.0.1: it connects, sends and closes
// without any event loop, so a test can have bytes waiting before the server
// has seen the connection, and it tells a reset from an orderly end.
class RawClient {
  public:
    explicit RawClient(std::uint16_t port) : fd_(::socket(AF_INET, SOCK_STREAM, 0)) {
        const timeval patience{patience_ms / 1000, 0};
        ::setsockopt(fd_, SOL_SOCKET, SO_SNDTIMEO, &patience, sizeof patience);
        connected_ = at_loopback(::connect, fd_, port) == 0;
    }
    RawClient(const RawClient&) = delete;
    RawClient& operator=(const RawClient&) = delete;
    ~RawClient() { close(); }

    bool connected() const { return connected_; }
    bool send(std::string_view bytes) {
        return ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL) ==
               static_cast<ssize_t>(bytes.size());
    }
    void shut_output() { ::shutdown(fd_, SHUT_WR); }
    // Ends the connection with a reset instead of an orderly close.
    void reset_connection() {
        const linger now{1, 0};
        ::setsockopt(fd_, SOL_SOCKET, SO_LINGER, &now, sizeof now);
        close();
    }
    void close() {
        if (fd_ >= 0) {
            ::close(fd_);
            fd_ = -1;
        }
    }

    // Reads what has come, without waiting; whether the server has ended
    // the connection.
    bool read_some() {
        char buffer[4096];
        while (!ended_ && fd_ >= 0) {
            const ssize_t count = ::recv(fd_, buffer, sizeof buffer, MSG_DONTWAIT);
            if (count > 0) {
                received_.append(buffer, static_cast<std::size_t>(count));
            } else if (count == 0 || (errno != EAGAIN && errno != EWOULDBLOCK)) {
                ended_ = true;
                reset_ = count < 0;
            } else {
                break;
            }
        }
        return ended_;
    }

    const std::string& received() const { return received_; }
    bool reset() const { return reset_; }

  private:
    int fd_;
    bool connected_ = false;
    std::string received_;
    bool ended_ = false;
    bool reset_ = false;
};

}  // namespace test_support
