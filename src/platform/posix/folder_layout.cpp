#include "platform/posix/folder_layout.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/failure.h"
#include "util/file_utilities.h"

namespace platform::posix {

namespace {

// The folder a path lies in, without a trailing '/' ("/" for the root).
std::string parent_of(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string name_of(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// An XDG base directory: the variable when it holds an absolute path, else
// the default below the home folder.
std::string base_folder(const std::optional<std::string>& variable, const std::string& home,
                        const std::string& fallback) {
    if (variable && !variable->empty() && variable->front() == '/') {
        return *variable;
    }
    return util::join_path(home, fallback);
}

std::optional<std::string> variable(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
}

}  // namespace

Environment Environment::of_this_process() {
    Environment environment{variable("XDG_CONFIG_HOME"), variable("XDG_STATE_HOME"), {}};
    if (const auto home = variable("HOME"); home && !home->empty()) {
        environment.home = *home;
        return environment;
    }
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 ||
        found == nullptr || found->pw_dir == nullptr) {
        throw platform::Failure("the home folder is unknown: HOME is not set");
    }
    environment.home = found->pw_dir;
    return environment;
}

FolderLayout::FolderLayout(std::string program_folder, const Environment& environment,
                           const IsFolder& is_folder) {
    const std::string config = base_folder(environment.config_home, environment.home, ".config");
    autostart_ = util::join_path(config, "autostart");
    const std::string prefix = parent_of(program_folder);
    const std::string library = util::join_path(util::join_path(prefix, "lib"), "orvanta");
    if (name_of(program_folder) != "bin" || !is_folder(library)) {
        system_ = settings_ = state_ = std::move(program_folder);
        return;
    }
    system_ = library;
    settings_ = util::join_path(config, "orvanta");
    state_ = util::join_path(base_folder(environment.state_home, environment.home, ".local/state"),
                             "orvanta");
}

FolderLayout FolderLayout::of_this_program() {
    return FolderLayout(parent_of(executable_path()), Environment::of_this_process(),
                        [](const std::string& path) {
                            struct stat status {};
                            return ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
                        });
}

std::string executable_path() {
    std::vector<char> buffer(4096);
    const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= buffer.size()) {
        throw platform::Failure(std::string("the program's folder is unknown: ") +
                                (length < 0 ? std::strerror(errno) : "path too long"));
    }
    return std::string(buffer.data(), static_cast<std::size_t>(length));
}

}  // namespace platform::posix
