#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>

#include "platform/posix/descriptor.h"
#include "platform/posix/socket_engine.h"

namespace platform::posix {

// How long a connection that its socket let go of may take to say goodbye
// before it is cut.
inline constexpr std::chrono::milliseconds closing_patience{5000};

// Ends the connections that sockets let go of, without ever waiting for one.
//
// Closing a TCP socket that holds unread input makes the system send a reset,
// and a reset may destroy what we sent last (a notice written just before
// closing) in the peer's receive buffer before the peer reads it. So what is
// still queued is sent first, then only our direction is shut, and the input
// that still comes is thrown away until the peer closes too. A peer that has
// not closed within the patience is cut off with a reset.
class Farewells {
  public:
    explicit Farewells(SocketEngine& engine, std::chrono::milliseconds patience = closing_patience);
    Farewells(const Farewells&) = delete;
    Farewells& operator=(const Farewells&) = delete;
    // Cuts every connection still saying goodbye.
    ~Farewells();

    // Takes a connection over, with the bytes its socket still had to send.
    // peer_done: the peer has ended its direction already, and everything it
    // sent has been read.
    void take(Descriptor connection, std::string unsent, bool peer_done);
    // How many connections are still saying goodbye.
    std::size_t count() const { return goodbyes_.size(); }

  private:
    class Goodbye;
    void end(const Goodbye* goodbye);

    SocketEngine& engine_;
    std::chrono::milliseconds patience_;
    std::unordered_map<const Goodbye*, std::unique_ptr<Goodbye>> goodbyes_;
};

}  // namespace platform::posix
