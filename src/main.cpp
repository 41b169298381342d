// Orvanta: watches the satellite link, dials and hangs it up, serves its
// status to client programs, and logs what happens in its main window.
#include <QApplication>
#include <cstdio>
#include <exception>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "app/form1.h"
#include "app/launch.h"
#include "platform/failure.h"
#include "platform/navsim/simulated_navigator.h"
#include "platform/nm/network_manager_navigator.h"
#include "platform/posix/folder_layout.h"
#include "platform/prometheus/prometheus_metrics.h"
#include "platform/qt/application.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/qt_signal_closer.h"
#include "util/file_utilities.h"

namespace {

std::vector<std::string> arguments_of(int argc, char* argv[]) {
    return {argv + (argc > 0 ? 1 : 0), argv + argc};
}

// The navigator control orvanta.conf chose: a connection of NetworkManager,
// or the simulation, whose state lies in the program's folder or, installed,
// in the user's state folder, made when it is first needed.
std::unique_ptr<platform::Navigator> make_navigator(const app::OrvantaConf& conf,
                                                    const platform::posix::FolderLayout& layout,
                                                    platform::qt::QtPlatform& qt) {
    if (conf.navigator == app::OrvantaConf::Navigator::NetworkManager) {
        return std::make_unique<platform::nm::NetworkManagerNavigator>(
            platform::nm::LinkChoice{conf.connection, conf.min_signal}, qt.console);
    }
    try {
        qt.files.make_folders(layout.state_folder(), 0700);
    } catch (const std::exception& error) {
        qt.console.note(error.what());
    }
    return std::make_unique<platform::navsim::SimulatedNavigator>(
        util::join_path(layout.state_folder(), "navsim.state"), qt.clock, qt.timers);
}

int run(QApplication& application, const platform::posix::FolderLayout& layout,
        const app::OrvantaConf& conf) {
    platform::qt::QtPlatform qt;
    std::unique_ptr<platform::Navigator> navigator;
    try {
        navigator = make_navigator(conf, layout, qt);
    } catch (const platform::Failure& failure) {
        // NetworkManager is not there, or does not know the connection: the
        // program would watch nothing.
        qt.console.note(failure.what());
        return 2;
    }

    // The metrics orvanta.conf asks for; a port that cannot be had leaves the
    // program without them, since the request server is what matters.
    std::unique_ptr<platform::Metrics> metrics;
    std::string metrics_problem;
    try {
        if (conf.metrics) {
            metrics = std::make_unique<platform::prometheus::PrometheusMetrics>(
                conf.metrics->address, conf.metrics->port);
        }
    } catch (const platform::Failure& failure) {
        metrics_problem = failure.what();
    }
    app::Form1 form1({*navigator, qt.clock, qt.timers, qt.tray, qt.events, qt.message_box,
                      qt.desktop, qt.network, qt.files, layout, qt.version_info, qt.shell,
                      qt.console, metrics ? *metrics : qt.no_metrics},
                     {}, {conf.listen_address, conf.clients});
    if (!metrics_problem.empty()) {
        form1.metrics_unavailable(conf.metrics->address + ":" + std::to_string(conf.metrics->port),
                                  metrics_problem);
    }
    // A desktop logging out, a service manager or Ctrl-C close the window
    // as the user would, so the settings are saved as usual.
    platform::qt::QtSignalCloser closer([&form1] { form1.window().close_requested(); });

    try {
        form1.Form_Load();
    } catch (const std::exception& error) {
        // Start-up ends where it failed; the window stays usable.
        qt.console.note(std::string("start-up stopped: ") + error.what());
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
    try {
        const auto layout = platform::posix::FolderLayout::of_this_program();
        platform::posix::PosixFileSystem files;
        app::Launch launch(files,
                           {layout.settings_folder(), layout.autostart_folder(),
                            platform::posix::executable_path()},
                           std::cout, std::cerr);
        // The program's own options and orvanta.conf come before Qt, so that
        // neither needs a display.
        if (const auto status = launch.handle(app::parse_command_line(arguments_of(argc, argv)))) {
            return *status;
        }
        app::OrvantaConf conf;
        if (const auto status = launch.read_conf(conf)) {
            return *status;
        }
        const auto application = platform::qt::make_application(argc, argv);
        // Qt has taken its own arguments; nothing else is expected.
        if (const auto rest = arguments_of(argc, argv); !rest.empty()) {
            return launch.handle(app::unexpected_arguments(rest)).value_or(2);
        }
        // The program ends when its main window has faded out, not when the
        // last window closes (the splash screen may be the first to go).
        QApplication::setQuitOnLastWindowClosed(false);
        return run(*application, layout, conf);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "orvanta: %s\n", error.what());
        return 1;
    }
}
