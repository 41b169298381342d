#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/posix/socket_engine.h"
#include "platform/posix/tcp.h"

namespace platform::posix {

// Finds the addresses of a host name without holding up the event loop: the
// system's resolver runs on a thread of its own, which hands the answer back
// through a descriptor that the engine watches. Address texts never need
// one (see endpoint_of).
class HostLookup : private Watcher {
  public:
    // The addresses found, in the resolver's order, or none when the name
    // is not known.
    using Done = std::function<void(std::vector<Endpoint> endpoints)>;

    // Starts looking up host; done runs from a later dispatch, unless the
    // lookup ends first. Throws platform::Failure when no thread can start.
    HostLookup(SocketEngine& engine, std::string host, std::uint16_t port, Done done);
    HostLookup(const HostLookup&) = delete;
    HostLookup& operator=(const HostLookup&) = delete;
    // Abandons a lookup still under way: its answer is dropped.
    ~HostLookup() override;

  private:
    struct Answer;
    void ready(std::uint32_t events) override;

    SocketEngine& engine_;
    std::shared_ptr<Answer> answer_;
    SocketEngine::Token token_ = 0;
    Done done_;
};

}  // namespace platform::posix
