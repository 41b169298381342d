#include "platform/qt/qt_events.h"

#include <QCoreApplication>
#include <thread>

namespace platform::qt {

void QtEvents::do_events() {
    QCoreApplication::processEvents();
}

void QtEvents::sleep_for(std::chrono::milliseconds duration) {
    std::this_thread::sleep_for(duration);
}

}  // namespace platform::qt
