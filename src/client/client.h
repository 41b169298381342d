#pragma once

#include <iosfwd>
#include <string>
#include <string_view>

#include "client/arguments.h"
#include "client/reply.h"
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
// console.out, a one-line complaint on console.err when it fails; check says
// all in its one line on console.out, as monitoring systems read it.
// Listening ends when interrupt (a descriptor, -1 for none) becomes readable.
class Client {
  public:
    Client(Arguments arguments, Console console, int interrupt = -1);

    int run();

  private:
    // How a step ended: done, or the exit status and what went wrong.
    struct Outcome {
        int status = exit_status::done;
        std::string reason;

        bool done() const { return status == exit_status::done; }
    };

    int status();
    int check();
    int request(std::string_view bytes);
    int message();
    int listen();

    // Finds the server and opens the reply port on the address the server
    // sees us by.
    Outcome prepare(const tcp::Deadline& deadline, tcp::Descriptor& listener);
    // Connects, sends bytes, ends sending and reads until the server closes.
    Outcome send_request(std::string_view bytes, const tcp::Deadline& deadline);
    // Sends STATUS and takes the first text other than an operator message
    // that comes to the reply port; the messages go to console.err if asked.
    Outcome ask_status(const tcp::Deadline& deadline, bool show_messages, Reply& reply);
    int fail(const Outcome& outcome);
    std::string timeout_text() const;

    Arguments arguments_;
    Console console_;
    int interrupt_;
    sockaddr_in server_{};
};

}  // namespace client
