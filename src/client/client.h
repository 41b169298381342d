#pragma once

#include <iosfwd>
#include <string>
#include <string_view>

#include "client/arguments.h"
#include "client/tcp.h"

namespace client {

// The exit status of orvanta-client, one for each way a command can end.
namespace exit_status {
constexpr int done = 0;
constexpr int failed = 1;          // anything not named below
constexpr int usage = 2;           // wrong arguments, or a message too long to send
constexpr int unreachable = 3;     // the server could not be found or connected to
constexpr int timed_out = 4;       // the server did not answer within the timeout
constexpr int busy = 5;            // the server serves all the clients it can
constexpr int reply_port = 6;      // the reply port could not be listened on
constexpr int not_understood = 7;  // the server answered with something unknown
}  // namespace exit_status

// Where a command reads its input and writes its results and complaints.
struct Console {
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
};

// Runs one command against the server and tells how it went: results on
// console.out, a one-line complaint on console.err when it fails. Listening
// ends when interrupt (a descriptor, -1 for none) becomes readable.
class Client {
  public:
    Client(Arguments arguments, Console console, int interrupt = -1);

    int run();

  private:
    int status();
    int request(std::string_view bytes);
    int message();
    int listen();

    // Finds the server and opens the reply port on the address the server
    // sees us by; on failure returns the exit status, else done.
    int prepare(const tcp::Deadline& deadline, tcp::Descriptor& listener);
    // Connects, sends bytes, ends sending and reads until the server closes.
    int send_request(std::string_view bytes, const tcp::Deadline& deadline);
    int fail(int status, const std::string& text);
    std::string timeout_text() const;

    Arguments arguments_;
    Console console_;
    int interrupt_;
    sockaddr_in server_{};
};

}  // namespace client
