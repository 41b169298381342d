// Orvanta: watches the satellite link, dials and hangs it up, serves its
// status to client programs, and logs what happens in its main window.
#include <QApplication>
#include <cstdio>
#include <exception>

#include "app/form1.h"
#include "platform/navsim/simulated_navigator.h"
#include "platform/pe/pe_version_info.h"
#include "platform/posix/posix_file_system.h"
#include "platform/qt/application.h"
#include "platform/qt/qt_clock.h"
#include "platform/qt/qt_desktop.h"
#include "platform/qt/qt_events.h"
#include "platform/qt/qt_message_box.h"
#include "platform/qt/qt_program_location.h"
#include "platform/qt/qt_shell.h"
#include "platform/qt/qt_signal_closer.h"
#include "platform/qt/qt_timer.h"
#include "platform/qt/qt_tray_icon.h"
#include "platform/qt/qt_winsock.h"
#include "util/file_utilities.h"

namespace {

int run(QApplication& application) {
    platform::qt::QtClock clock;
    platform::qt::QtTimerFactory timers;
    platform::qt::QtTrayIcon tray;
    platform::qt::QtEvents events;
    platform::qt::QtMessageBox message_box;
    platform::qt::QtDesktop desktop;
    platform::qt::QtNetwork network;
    platform::posix::PosixFileSystem files;
    platform::qt::QtProgramLocation location;
    platform::pe::PeVersionInfo version_info;
    platform::qt::QtShell shell;
    // The navigator's state lies in the system directory, the program's folder.
    platform::navsim::SimulatedNavigator navigator(
        util::join_path(location.program_folder(), "navsim.state"), clock, timers);

    app::Form1 form1({navigator, clock, timers, tray, events, message_box, desktop, network, files,
                      location, version_info, shell});
    // A desktop logging out, a service manager or Ctrl-C close the window
    // as the user would, so the settings are saved as usual.
    platform::qt::QtSignalCloser closer([&form1] { form1.window().close_requested(); });

    try {
        form1.Form_Load();
    } catch (const std::exception& error) {
        // Start-up ends where it failed; the window stays usable.
        std::fprintf(stderr, "orvanta: start-up stopped: %s\n", error.what());
    }
    desktop.open(form1.window());
    return application.exec();
}

}  // namespace

int main(int argc, char* argv[]) {
    const auto application = platform::qt::make_application(argc, argv);
    // The program ends when its main window has faded out, not when the
    // last window closes (the splash screen may be the first to go).
    QApplication::setQuitOnLastWindowClosed(false);
    try {
        return run(*application);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "orvanta: %s\n", error.what());
        return 1;
    }
}
