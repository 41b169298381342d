#pragma once

#include <string>

#include "app/services.h"
#include "fakes/fake_clock.h"
#include "fakes/fake_desktop.h"
#include "fakes/fake_events.h"
#include "fakes/fake_file_system.h"
#include "fakes/fake_navigator.h"
#include "fakes/fake_timer.h"
#include "fakes/fake_tray_icon.h"
#include "fakes/fake_version_info.h"
#include "fakes/fake_winsock.h"

namespace fakes {

class FakeProgramLocation : public platform::ProgramLocation {
  public:
    std::string folder = "/opt/orvanta";
    std::string program_folder() const override { return folder; }
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

    // All doubles, or a real reader of version records in place of the fake one.
    app::Services services(platform::VersionInfo* real_version_info = nullptr) {
        return {navigator,
                clock,
                timers,
                tray,
                events,
                message_box,
                desktop,
                network,
                files,
                location,
                real_version_info != nullptr ? *real_version_info : version_info};
    }
};

}  // namespace fakes
