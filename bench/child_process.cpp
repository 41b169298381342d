#include "child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <sched.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <system_error>
#include <thread>
#include <vector>

extern char** environ;

namespace bench {

namespace {

using Clock = std::chrono::steady_clock;

std::vector<std::string> offscreen_environment() {
    std::vector<std::string> variables;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        if (std::strncmp(*entry, "QT_QPA_PLATFORM=", 16) != 0) {
            variables.emplace_back(*entry);
        }
    }
    variables.emplace_back("QT_QPA_PLATFORM=offscreen");
    return variables;
}

std::vector<char*> pointers(std::vector<std::string>& texts) {
    std::vector<char*> list;
    for (std::string& text : texts) {
        list.push_back(text.data());
    }
    list.push_back(nullptr);
    return list;
}

}  // namespace

std::string ExitStatus::describe() const {
    if (code) {
        return "exit status " + std::to_string(*code);
    }
    return std::string("signal ") + ::strsignal(signal);
}

ChildProcess::ChildProcess(const std::vector<std::string>& command, const std::string& folder,
                           const std::string& log, std::optional<int> core) {
    int pipe_ends[2];
    if (::pipe2(pipe_ends, O_CLOEXEC) != 0) {
        throw std::system_error(errno, std::generic_category(), "pipe2");
    }
    output_.reset(pipe_ends[0]);
    Fd write_end(pipe_ends[1]);
    const Fd log_file(::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    if (!log_file) {
        throw std::system_error(errno, std::generic_category(), "open " + log);
    }
    // Everything the child needs is made before the fork: after it, only
    // calls that are safe in a copy of a threaded process.
    std::vector<std::string> arguments = command;
    std::vector<std::string> environment = offscreen_environment();
    std::vector<char*> argv = pointers(arguments);
    std::vector<char*> envp = pointers(environment);
    cpu_set_t cores;
    CPU_ZERO(&cores);
    if (core) {
        CPU_SET(*core, &cores);
    }
    pid_ = ::fork();
    if (pid_ < 0) {
        throw std::system_error(errno, std::generic_category(), "fork");
    }
    if (pid_ == 0) {
        if (::dup2(write_end.get(), STDOUT_FILENO) < 0 ||
            ::dup2(log_file.get(), STDERR_FILENO) < 0 || ::chdir(folder.c_str()) != 0 ||
            (core && ::sched_setaffinity(0, sizeof cores, &cores) != 0)) {
            ::_exit(126);
        }
        ::execve(argv[0], argv.data(), envp.data());
        ::_exit(127);
    }
}

ChildProcess::~ChildProcess() {
    if (pid_ > 0 && running()) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
}

std::string ChildProcess::read_line(std::chrono::milliseconds patience) {
    const auto deadline = Clock::now() + patience;
    for (;;) {
        const std::size_t end = pending_.find('\n');
        if (end != std::string::npos) {
            std::string line = pending_.substr(0, end);
            pending_.erase(0, end + 1);
            return line;
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        pollfd entry{output_.get(), POLLIN, 0};
        if (left.count() <= 0 || ::poll(&entry, 1, static_cast<int>(left.count())) == 0) {
            throw std::runtime_error("no line from the child process in time");
        }
        char buffer[256];
        const ssize_t got = ::read(output_.get(), buffer, sizeof buffer);
        if (got == 0) {
            throw std::runtime_error("the child process closed its output");
        }
        if (got > 0) {
            pending_.append(buffer, static_cast<std::size_t>(got));
        }
    }
}

bool ChildProcess::running() {
    if (pid_ <= 0) {
        return false;
    }
    int status = 0;
    if (::waitpid(pid_, &status, WNOHANG) == pid_) {
        reaped(status);
        return false;
    }
    return true;
}

ExitStatus ChildProcess::stop(std::chrono::milliseconds patience) {
    if (running()) {
        ::kill(pid_, SIGTERM);
        const auto deadline = Clock::now() + patience;
        while (running() && Clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
    if (running()) {
        ::kill(pid_, SIGKILL);
        int status = 0;
        ::waitpid(pid_, &status, 0);
        reaped(status);
    }
    return exit_;
}

void ChildProcess::reaped(int status) {
    pid_ = -1;
    exit_ = WIFEXITED(status) ? ExitStatus{WEXITSTATUS(status), 0}
                              : ExitStatus{std::nullopt, WTERMSIG(status)};
}

}  // namespace bench
