#pragma once

#include <netinet/in.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/posix/descriptor.h"

// Thin helpers over POSIX TCP sockets for the client: IPv4, non-blocking
// descriptors, and every wait bounded by a deadline and, where one is given,
// cut short by an interrupt descriptor becoming readable.
namespace client::tcp {

// Owns one descriptor and closes it when it goes; the program's own.
using Descriptor = platform::posix::Descriptor;

// A moment after which no wait may go on, or none at all.
class Deadline {
  public:
    static Deadline after(std::chrono::milliseconds span);
    static Deadline never() { return Deadline(); }

    // What poll() takes: -1 for no limit, 0 once the moment has passed.
    int poll_timeout() const;
    bool passed() const { return poll_timeout() == 0; }
    std::chrono::steady_clock::time_point when() const { return when_; }
    bool limited() const { return limited_; }

  private:
    std::chrono::steady_clock::time_point when_{};
    bool limited_ = false;
};

enum class Problem {
    none,
    unreachable,  // no such host, refused, no route, or no answer to connecting
    timed_out,
    in_use,       // the port is taken by another socket
    interrupted,  // the interrupt descriptor became readable
    too_long,     // the peer sent more than the caller takes
    reset,        // the peer reset the connection (before sending anything)
    other,
};

// The outcome of a step: Problem::none, or what went wrong and a short text
// for people ("connection refused").
struct Result {
    Problem problem = Problem::none;
    std::string text;

    bool ok() const { return problem == Problem::none; }
};

// The IPv4 address of host (dotted decimal or a name) with port. A name is
// looked up by the system's resolver, waited for no longer than deadline.
Result resolve(const std::string& host, std::uint16_t port, const Deadline& deadline,
               sockaddr_in& address);

// This machine's address on the route to peer: the address that peer sees
// when we connect to it, and so the one it connects back to. Sends nothing.
Result local_address_towards(const sockaddr_in& peer, in_addr& local);

// A socket listening on address.
Result listen_on(const sockaddr_in& address, Descriptor& listener);

Result connect_to(const sockaddr_in& address, const Deadline& deadline, Descriptor& connection);

// Sends all of bytes; a peer that has gone is Problem::reset, never SIGPIPE.
Result send_all(const Descriptor& connection, std::string_view bytes, const Deadline& deadline);

// Ends our sending side, so that the peer reads the end of the stream;
// Problem::reset if the peer has reset the connection.
Result shut_sending(const Descriptor& connection);

// The next connection to listener.
Result accept_one(const Descriptor& listener, const Deadline& deadline, int interrupt,
                  Descriptor& connection);

// Receives into text what the peer sends until it closes. A reset after some
// text ends it like a close; a reset before any is Problem::reset.
// More than limit bytes end the reading with Problem::too_long, text holding
// the first limit bytes.
Result read_to_end(const Descriptor& connection, const Deadline& deadline, int interrupt,
                   std::size_t limit, std::string& text);

// "127.0.0.1:2519"
std::string address_text(const sockaddr_in& address);

}  // namespace client::tcp
