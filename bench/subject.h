#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "drive.h"
#include "load_client.h"
#include "server.h"

namespace bench {

// What every status reply says here: signal present, link down, never dialled.
inline const std::string status_reply = "STATUS-DISCSIGOKna";

using Measured = Driven<LoadResult>;

// A server as the figures measure it, wherever it runs.
class Subject {
  public:
    Subject() = default;
    Subject(const Subject&) = delete;
    Subject& operator=(const Subject&) = delete;
    virtual ~Subject() = default;

    // `requests` DISCON requests, `in_flight` of them under way at once;
    // done once the server has processed those its clients saw taken.
    virtual Measured load(int in_flight, int requests) = 0;
    // STATUS requests one after the other: each one's time from the
    // request's end to the reply's end, in microseconds (run_round_trips).
    virtual std::vector<double> round_trips(int requests) = 0;
};

// A server in the benchmark's process, serving on this thread while its
// clients run on another; the requests processed are counted inside it.
class InProcess final : public Subject {
  public:
    // The server replies to status requests on `reply_port`.
    InProcess(Server& server, std::uint16_t reply_port)
        : server_(server), reply_port_(reply_port) {}

    Measured load(int in_flight, int requests) override;
    std::vector<double> round_trips(int requests) override;

  private:
    Server& server_;
    std::uint16_t reply_port_;
};

}  // namespace bench
