#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>

#include "fd.h"

namespace bench {

// A program of the build run as its user runs it, on Qt's offscreen platform.
class ChildProcess {
  public:
    // Starts `program` in the working folder `folder`, with
    // QT_QPA_PLATFORM=offscreen, its standard output on a pipe for
    // read_line and its standard error in the file `log`.
    ChildProcess(const std::string& program, const std::string& folder, const std::string& log);
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
    // SIGTERM, then SIGKILL if it has not ended within the patience.
    void stop(std::chrono::milliseconds patience);

  private:
    pid_t pid_ = -1;
    Fd output_;
    std::string pending_;
};

}  // namespace bench
