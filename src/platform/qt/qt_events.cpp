#include "platform/qt/qt_events.h"

#include <QCoreApplication>

namespace platform::qt {

void QtEvents::do_events() {
    QCoreApplication::processEvents();
}

}  // namespace platform::qt
