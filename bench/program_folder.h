#pragma once

#include <cstdint>
#include <string>

#include "net.h"
#include "platform/program_location.h"

namespace bench {

// Orvanta's longest poll interval: with it, only requests read the link state.
inline constexpr std::int16_t longest_poll_seconds = 32767;

// A fixed folder standing in for the program's own.
class FolderLocation final : public platform::ProgramLocation {
  public:
    explicit FolderLocation(std::string folder) : folder_(std::move(folder)) {}
    std::string system_folder() const override { return folder_; }
    std::string settings_folder() const override { return folder_; }
    std::string state_folder() const override { return folder_; }

  private:
    std::string folder_;
};

// A fresh temporary folder laid out as Orvanta's: copies of files from the
// build, Orvanta.ini and navsim.state. Removed with everything in it at the end.
class ProgramFolder {
  public:
    explicit ProgramFolder(const std::string& tag);
    ProgramFolder(const ProgramFolder&) = delete;
    ProgramFolder& operator=(const ProgramFolder&) = delete;
    ~ProgramFolder();

    const std::string& path() const { return path_; }
    // The path of `name` in the folder.
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

    // Copies a file in, keeping its permissions.
    void copy_in(const std::string& file);
    // Readies it for Orvanta on two free ports, which it returns: NAVCTRL.OCX
    // from the build, Orvanta.ini with the poll interval, and navsim.state.
    PortPair ready_for_orvanta(std::int16_t poll_seconds);

  private:
    // Orvanta.ini as the program itself writes it: the two ports, the window
    // at 0,0, every option off, and the poll interval.
    void write_settings(std::uint16_t listen_port, std::uint16_t transmit_port,
                        std::int16_t poll_seconds);
    // navsim.state: signal present, link disconnected.
    void write_navigator_state();

    std::string path_;
};

// The folder of the running benchmark, where the build puts orvanta and
// NAVCTRL.OCX beside it.
std::string build_folder();

}  // namespace bench
