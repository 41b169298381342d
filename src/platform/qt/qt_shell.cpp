#include "platform/qt/qt_shell.h"

#include <QProcess>
#include <QStringList>

#include "platform/failure.h"
#include "platform/qt/conversions.h"

namespace platform::qt {

void QtShell::open_address(const std::string& address) {
    if (!QProcess::startDetached(QStringLiteral("xdg-open"), {to_qstring(address)})) {
        throw platform::Failure("xdg-open could not be started for " + address);
    }
}

}  // namespace platform::qt
