// Orvanta: watches the satellite link, dials and hangs it up, serves its
// status to client programs, and logs what happens in its main window.
#include <QApplication>
#include <cstdio>
#include <exception>

#include "app/form1.h"
#include "platform/navsim/simulated_navigator.h"
#include "platform/qt/application.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/qt_program_location.h"
#include "platform/qt/qt_signal_closer.h"
#include "util/file_utilities.h"

namespace {

int run(QApplication& application) {
    platform::qt::QtPlatform qt;
    platform::qt::QtProgramLocation location;
    // The navigator's state lies in the system directory, the program's folder.
    platform::navsim::SimulatedNavigator navigator(
        util::join_path(location.program_folder(), "navsim.state"), qt.clock, qt.timers);

    app::Form1 form1({navigator, qt.clock, qt.timers, qt.tray, qt.events, qt.message_box,
                      qt.desktop, qt.network, qt.files, location, qt.version_info, qt.shell,
                      qt.console});
    // A desktop logging out, a service manager or Ctrl-C close the window
    // as the user would, so the settings are saved as usual.
    platform::qt::QtSignalCloser closer([&form1] { form1.window().close_requested(); });

    try {
        form1.Form_Load();
    } catch (const std::exception& error) {
        // Start-up ends where it failed; the window stays usable.
        std::fprintf(stderr, "orvanta: start-up stopped: %s\n", error.what());
    }
    // An end asked for while start-up let events run (a signal while one of
    // its message boxes was open) is final: the window is never shown.
    if (form1.ending()) {
        return 0;
    }
    qt.desktop.open(form1.window());
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
