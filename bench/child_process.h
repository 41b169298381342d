#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "fd.h"

namespace bench {

// How a process ended.
struct ExitStatus {
    // The code it exited with; nullopt when a signal ended it.
    std::optional<int> code;
    // The signal that ended it, else 0.
    int signal = 0;

    std::string describe() const;
};

// A program of the build run as its user runs it, on Qt's offscreen platform.
class ChildProcess {
  public:
    // Starts `command` (the program, then its arguments) in the working
    // folder `folder`, with QT_QPA_PLATFORM=offscreen, its standard output on
    // a pipe for read_line and its standard error in the file `log`. Given a
    // core, the child pins itself to it before the program starts.
    ChildProcess(const std::vector<std::string>& command, const std::string& folder,
                 const std::string& log, std::optional<int> core = std::nullopt);
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    // Kills it if it still runs.
    ~ChildProcess();

    pid_t pid() const { return pid_; }
    // The next line of its standard output, without the line end; throws
    // std::runtime_error when none comes within the patience.
    std::string read_line(std::chrono::milliseconds patience);
    // Whether it still runs.
    bool running();
    // SIGTERM, then SIGKILL if it has not ended within the patience; how it
    // ended (also when it had ended before).
    ExitStatus stop(std::chrono::milliseconds patience);

  private:
    void reaped(int status);

    pid_t pid_ = -1;
    Fd output_;
    std::string pending_;
    ExitStatus exit_;
};

}  // namespace bench
