#pragma once

#include <sys/types.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "child_process.h"
#include "net.h"
#include "program_folder.h"
#include "subject.h"

namespace bench {

// A server run as a program of its own, as its user runs it: from the build
// folder, in a temporary folder of its own, offscreen, pinned to one core
// when given one. Its clients run on the calling thread. Nothing inside it
// is counted: the requests processed are those its clients saw taken, and
// a load's time runs to the answer of a status request sent after them,
// which a server that keeps the closing order gives only once it has
// processed them.
class ServerProcess final : public Subject {
  public:
    // Orvanta with NAVCTRL.OCX, its own Orvanta.ini (the link polled every
    // `poll_seconds`) and navsim.state (signal present, link down). Returns
    // once its server has answered a status request; throws
    // std::runtime_error when it does not within 20 s.
    static std::unique_ptr<ServerProcess> orvanta(std::optional<int> core,
                                                  std::int16_t poll_seconds);
    // orvanta_epoll_baseline, the same way.
    static std::unique_ptr<ServerProcess> baseline(std::optional<int> core);
    // Kills it if it still runs.
    ~ServerProcess() override;

    std::uint16_t port() const { return ports_.listen; }
    // Where it sends its status replies.
    std::uint16_t reply_port() const { return ports_.reply; }
    pid_t pid() const { return child_->pid(); }

    Measured load(int in_flight, int requests) override;
    std::vector<double> round_trips(int requests) override;

    // SIGTERM, as a desktop ending its session sends it; throws
    // std::runtime_error unless it ends with status 0 within ten seconds.
    void stop();

  private:
    explicit ServerProcess(std::string name);
    void start(const std::vector<std::string>& command, std::optional<int> core);
    void await_answer();

    std::string name_;
    ProgramFolder folder_;
    PortPair ports_{};
    std::optional<ChildProcess> child_;
};

}  // namespace bench
