#include "orvanta_under_test.h"

#include <QEventLoop>
#include <QTimer>
#include <stdexcept>

#include "app/form1.h"
#include "counting_navigator.h"
#include "platform/navsim/simulated_navigator.h"
#include "platform/pe/pe_version_info.h"
#include "platform/posix/posix_file_system.h"
#include "platform/qt/qt_clock.h"
#include "platform/qt/qt_desktop.h"
#include "platform/qt/qt_events.h"
#include "platform/qt/qt_message_box.h"
#include "platform/qt/qt_shell.h"
#include "platform/qt/qt_timer.h"
#include "platform/qt/qt_tray_icon.h"
#include "platform/qt/qt_winsock.h"
#include "program_folder.h"
#include "util/file_utilities.h"

namespace bench {

// In the order of main.cpp, so that they end in its order too.
struct OrvantaUnderTest::Parts {
    explicit Parts(const std::string& folder)
        : location(folder),
          simulated(util::join_path(folder, "navsim.state"), clock, timers),
          navigator(simulated),
          form1({navigator, clock, timers, tray, events, message_box, desktop, network, files,
                 location, version_info, shell}) {}

    platform::qt::QtClock clock;
    platform::qt::QtTimerFactory timers;
    platform::qt::QtTrayIcon tray;
    platform::qt::QtEvents events;
    platform::qt::QtMessageBox message_box;
    platform::qt::QtDesktop desktop;
    platform::qt::QtNetwork network;
    platform::posix::PosixFileSystem files;
    FolderLocation location;
    platform::pe::PeVersionInfo version_info;
    platform::qt::QtShell shell;
    platform::navsim::SimulatedNavigator simulated;
    CountingNavigator navigator;
    app::Form1 form1;
};

OrvantaUnderTest::OrvantaUnderTest(const std::string& folder, std::uint16_t listen_port)
    : parts_(std::make_unique<Parts>(folder)), port_(listen_port) {
    parts_->form1.Form_Load();
    parts_->desktop.open(parts_->form1.window());
    if (parts_->form1.listeners().WS_LISTENER(0).State() != platform::Winsock::sckListening ||
        parts_->form1.listeners().UBound() != 10) {
        throw std::runtime_error("Orvanta did not start its server (see its log)");
    }
    reads_at_start_ = parts_->navigator.connection_reads();
}

OrvantaUnderTest::~OrvantaUnderTest() = default;

std::uint64_t OrvantaUnderTest::processed() const {
    return parts_->navigator.connection_reads() - reads_at_start_;
}

Server::Clock::time_point OrvantaUnderTest::last_processed_at() const {
    return parts_->navigator.last_read_at();
}

void OrvantaUnderTest::serve_until(const std::function<bool()>& stop) {
    if (stop()) {
        return;
    }
    QEventLoop loop;
    // Looks every 5 ms, like the baseline's epoll timeout; a handler under
    // way always ends before the look.
    QTimer look;
    look.setInterval(5);
    QObject::connect(&look, &QTimer::timeout, &loop, [&] {
        if (stop()) {
            loop.quit();
        }
    });
    look.start();
    loop.exec();
}

}  // namespace bench
