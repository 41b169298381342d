#include "program_folder.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>

#include "app/settings.h"
#include "app/settings_writer.h"
#include "platform/posix/posix_file_system.h"
#include "platform/qt/qt_clock.h"

namespace bench {

namespace fs = std::filesystem;

ProgramFolder::ProgramFolder(const std::string& tag) {
    std::random_device random;
    const fs::path path =
        fs::temp_directory_path() / ("orvanta-bench-" + tag + "-" + std::to_string(::getpid()) +
                                     "-" + std::to_string(random()));
    fs::create_directories(path);
    path_ = path.string();
}

ProgramFolder::~ProgramFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

void ProgramFolder::copy_in(const std::string& file) {
    fs::copy_file(file, fs::path(path_) / fs::path(file).filename(),
                  fs::copy_options::overwrite_existing);
}

PortPair ProgramFolder::ready_for_orvanta(std::int16_t poll_seconds) {
    copy_in(build_folder() + "/NAVCTRL.OCX");
    const PortPair ports = free_port_pair();
    write_settings(ports.listen, ports.reply, poll_seconds);
    write_navigator_state();
    return ports;
}

void ProgramFolder::write_settings(std::uint16_t listen_port, std::uint16_t transmit_port,
                                   std::int16_t poll_seconds) {
    app::Settings settings;
    settings.LISTEN_PORT = static_cast<std::int16_t>(listen_port);
    settings.TRANSMIT_PORT = static_cast<std::int16_t>(transmit_port);
    settings.DPC_HW_POLL_INTERVAL = poll_seconds;
    platform::posix::PosixFileSystem files;
    const FolderLocation location(path_);
    const platform::qt::QtClock clock;
    if (!app::SettingsWriter(files, location, clock).write(settings)) {
        throw std::runtime_error("cannot write Orvanta.ini in " + path_);
    }
}

void ProgramFolder::write_navigator_state() {
    std::ofstream file(*this / "navsim.state", std::ios::trunc);
    file << "signal=1\nconnection=2\n";
    if (!file.flush()) {
        throw std::runtime_error("cannot write navsim.state in " + path_);
    }
}

std::string build_folder() {
    return fs::read_symlink("/proc/self/exe").parent_path().string();
}

}  // namespace bench
