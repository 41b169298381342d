#pragma once

#include "platform/clock.h"
#include "platform/console.h"
#include "platform/desktop.h"
#include "platform/events.h"
#include "platform/file_system.h"
#include "platform/message_box.h"
#include "platform/metrics.h"
#include "platform/navigator.h"
#include "platform/program_location.h"
#include "platform/shell.h"
#include "platform/timer.h"
#include "platform/tray_icon.h"
#include "platform/version_info.h"
#include "platform/winsock.h"

namespace app {

// The outside world as the program reaches it: one implementation of each
// platform interface, handed to the main window when it is made.
struct Services {
    platform::Navigator& navigator;
    const platform::Clock& clock;
    platform::TimerFactory& timers;
    platform::TrayIcon& tray;
    platform::Events& events;
    platform::MessageBox& message_box;
    platform::Desktop& desktop;
    platform::Network& network;
    platform::FileSystem& files;
    const platform::ProgramLocation& location;
    platform::VersionInfo& version_info;
    platform::Shell& shell;
    platform::Console& console;
    platform::Metrics& metrics;
};

}  // namespace app
