// The epoll baseline as a program of its own, to be measured the way Orvanta
// is when it runs as a user starts it:
//
//   orvanta_epoll_baseline REPLY_PORT
//
// Listens on 127.0.0.1 at a free port and says "listening PORT" on standard
// output; answers status requests on REPLY_PORT at the client's address, as
// Orvanta does on its transmit port; ends with status 0 on SIGTERM.
#include <csignal>
#include <cstdio>
#include <exception>
#include <string>

#include "epoll_baseline.h"

namespace {

volatile std::sig_atomic_t ending = 0;

void end(int) {
    ending = 1;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: orvanta_epoll_baseline REPLY_PORT\n");
        return 2;
    }
    std::signal(SIGPIPE, SIG_IGN);
    // No SA_RESTART: the signal cuts the wait short.
    struct sigaction action {};
    action.sa_handler = end;
    sigaction(SIGTERM, &action, nullptr);
    try {
        bench::EpollBaseline::Options options;
        options.reply_port = static_cast<std::uint16_t>(std::stoi(argv[1]));
        bench::EpollBaseline baseline(options);
        std::printf("listening %u\n", baseline.port());
        std::fflush(stdout);
        baseline.serve_until([] { return ending != 0; });
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "orvanta_epoll_baseline: %s\n", error.what());
        return 1;
    }
}
