#pragma once

#include <string>
#include <vector>

#include "app/services.h"
#include "fakes/fake_clock.h"
#include "fakes/fake_console.h"
#include "fakes/fake_desktop.h"
#include "fakes/fake_events.h"
#include "fakes/fake_file_system.h"
#include "fakes/fake_metrics.h"
#include "fakes/fake_navigator.h"
#include "fakes/fake_timer.h"
#include "fakes/fake_tray_icon.h"
#include "fakes/fake_version_info.h"
#include "fakes/fake_winsock.h"
#include "fakes/fault.h"

namespace fakes {

// Records the addresses it was asked to open; can be told to fail.
class FakeShell : public platform::Shell {
  public:
    std::vector<std::string> opened;
    Fault fault;

    void open_address(const std::string& address) override {
        fault.check("open_address");
        opened.push_back(address);
    }
};

// The portable layout by default: every folder is the program's own.
class FakeProgramLocation : public platform::ProgramLocation {
  public:
    std::string folder = "/opt/orvanta";
    // Where the settings and the state lie instead, when set.
    std::string settings;
    std::string state;
    mutable Fault fault;
    std::string system_folder() const override { return checked(folder); }
    std::string settings_folder() const override {
        return checked(settings.empty() ? folder : settings);
    }
    std::string state_folder() const override { return checked(state.empty() ? folder : state); }

  private:
    std::string checked(const std::string& path) const {
        fault.check("folder");
        return path;
    }
};

// One test double of every platform interface, handed out as app::Services.
// Sleeping moves the fake clock on by the time slept.
struct FakeServices {
    FakeServices() {
        events.on_sleep = [this](std::chrono::milliseconds duration) { clock.advance(duration); };
    }

    FakeNavigator navigator;
    FakeClock clock;
    FakeTimerFactory timers;
    FakeTrayIcon tray;
    FakeEvents events;
    FakeMessageBox message_box;
    FakeDesktop desktop;
    FakeNetwork network;
    FakeFileSystem files;
    FakeProgramLocation location;
    FakeVersionInfo version_info;
    FakeShell shell;
    FakeConsole console;
    FakeMetrics metrics;

    app::Services services() {
        return {navigator, clock, timers,   tray,         events, message_box, desktop,
                network,   files, location, version_info, shell,  console,     metrics};
    }
};

}  // namespace fakes
