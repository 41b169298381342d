#include "orvanta_under_test.h"

#include <QEventLoop>
#include <QTimer>
#include <stdexcept>

#include "app/form1.h"
#include "counting_navigator.h"
#include "platform/navsim/simulated_navigator.h"
#include "platform/qt/qt_platform.h"
#include "program_folder.h"
#include "util/file_utilities.h"

namespace bench {

// Made and ended in the order of main.cpp.
struct OrvantaUnderTest::Parts {
    Parts(const std::string& folder, platform::Metrics* metrics)
        : location(folder),
          simulated(util::join_path(folder, "navsim.state"), qt.clock, qt.timers),
          navigator(simulated),
          form1({navigator, qt.clock, qt.timers, qt.tray, qt.events, qt.message_box, qt.desktop,
                 qt.network, qt.files, location, qt.version_info, qt.shell, qt.console,
                 metrics != nullptr ? *metrics : qt.no_metrics}) {}

    platform::qt::QtPlatform qt;
    FolderLocation location;
    platform::navsim::SimulatedNavigator simulated;
    CountingNavigator navigator;
    app::Form1 form1;
};

OrvantaUnderTest::OrvantaUnderTest(const std::string& folder, std::uint16_t listen_port,
                                   platform::Metrics* metrics)
    : parts_(std::make_unique<Parts>(folder, metrics)), port_(listen_port) {
    parts_->form1.Form_Load();
    parts_->qt.desktop.open(parts_->form1.window());
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

app::Form1& OrvantaUnderTest::form1() {
    return parts_->form1;
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
