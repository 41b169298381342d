#include "server_process.h"

#include <stdexcept>
#include <thread>

#include "round_trip.h"

namespace bench {

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

}  // namespace

ServerProcess::ServerProcess(std::string name) : name_(std::move(name)), folder_(name_) {}

ServerProcess::~ServerProcess() = default;

std::unique_ptr<ServerProcess> ServerProcess::orvanta(std::optional<int> core,
                                                      std::int16_t poll_seconds) {
    std::unique_ptr<ServerProcess> server(new ServerProcess("orvanta"));
    ProgramFolder& folder = server->folder_;
    folder.copy_in(build_folder() + "/orvanta");
    server->ports_ = folder.ready_for_orvanta(poll_seconds);
    server->start({folder / "orvanta"}, core);
    return server;
}

std::unique_ptr<ServerProcess> ServerProcess::baseline(std::optional<int> core) {
    std::unique_ptr<ServerProcess> server(new ServerProcess("baseline"));
    ProgramFolder& folder = server->folder_;
    folder.copy_in(build_folder() + "/orvanta_epoll_baseline");
    server->ports_.reply = free_port_pair().listen;
    server->start({folder / "orvanta_epoll_baseline", std::to_string(server->ports_.reply)}, core);
    return server;
}

void ServerProcess::start(const std::vector<std::string>& command, std::optional<int> core) {
    child_.emplace(command, folder_.path(), folder_ / "stderr.log", core);
    if (ports_.listen == 0) {
        // The baseline picks its port and says which.
        const std::string line = child_->read_line(milliseconds(10000));
        if (line.rfind("listening ", 0) != 0) {
            throw std::runtime_error(name_ + " said \"" + line + "\" instead of its port");
        }
        ports_.listen = static_cast<std::uint16_t>(std::stoi(line.substr(10)));
    }
    await_answer();
}

// A server has started fully once it answers a status request: Orvanta can
// do that only from its event loop, after its start-up.
void ServerProcess::await_answer() {
    const auto deadline = Clock::now() + std::chrono::seconds(20);
    while (Clock::now() < deadline) {
        if (!child_->running()) {
            throw std::runtime_error(name_ + " ended during its start-up (" +
                                     child_->stop(milliseconds(0)).describe() + ")");
        }
        try {
            run_round_trips({port(), reply_port(), 1, "STATUS", status_reply, milliseconds(1000)});
            return;
        } catch (const std::exception&) {
            std::this_thread::sleep_for(milliseconds(200));
        }
    }
    throw std::runtime_error(name_ + "'s server did not answer within 20 s of its start");
}

Measured ServerProcess::load(int in_flight, int requests) {
    const auto start = Clock::now();
    const LoadResult result = run_load({port(), in_flight, requests, "DISCON"});
    // Its answer marks the end of the requests before it.
    round_trips(1);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    return {result, static_cast<std::uint64_t>(result.taken), seconds};
}

std::vector<double> ServerProcess::round_trips(int requests) {
    return run_round_trips({port(), reply_port(), requests, "STATUS", status_reply});
}

void ServerProcess::stop() {
    const ExitStatus status = child_->stop(milliseconds(10000));
    if (status.code != 0) {
        throw std::runtime_error(name_ + " did not end cleanly on SIGTERM: " + status.describe());
    }
}

}  // namespace bench
