#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "fd.h"
#include "server.h"

namespace bench {

// The least a server of this protocol can do, as the yardstick for Orvanta:
// one thread, epoll, level-triggered, one connection accepted per turn of
// the loop after the turn's other events. It reads each request to its end
// and closes; that end counts as the request processed. Status requests may
// be answered as Orvanta answers them.
class EpollBaseline final : public Server {
  public:
    struct Options {
        // Sessions served at once; beyond them a connection gets Orvanta's
        // notice and is closed unprocessed. 0: no limit.
        int session_limit = 0;
        // When set, each processed request that starts with "STATUS" is
        // answered on a new connection to this port at the client's
        // address, with `reply`.
        std::optional<std::uint16_t> reply_port;
        std::string reply = "STATUS-DISCSIGOKna";
    };

    static constexpr const char* busy_notice =
        "MAXIMUM CONCURRENT SESSIONS REACHED - TERMINATING SESSION.\r\n";

    // Listens on 127.0.0.1 at a free port.
    explicit EpollBaseline(Options options);

    std::uint16_t port() const override { return port_; }
    std::uint64_t processed() const override { return processed_; }
    Clock::time_point last_processed_at() const override { return last_processed_at_; }
    std::uint64_t turned_away() const { return turned_away_; }
    void serve_until(const std::function<bool()>& stop) override;

  private:
    enum class Role { Free, Session, Refused, Reply };

    void turn();
    void accept_one();
    void watch(int fd, Role role, std::uint32_t events);
    void forget(int fd);
    void on_readable(int fd);
    void on_request_end(int fd);
    void start_reply(int request_fd);
    void on_reply_ready(int fd);

    Options options_;
    Fd listener_;
    Fd epoll_;
    std::uint16_t port_ = 0;
    std::vector<Role> roles_;
    // The start of each session's request, as far as the keyword.
    std::vector<std::string> keywords_;
    int sessions_ = 0;
    std::uint64_t processed_ = 0;
    Clock::time_point last_processed_at_;
    std::uint64_t turned_away_ = 0;
};

}  // namespace bench
