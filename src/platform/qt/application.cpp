#include "platform/qt/application.h"

#include <QtGlobal>

namespace platform::qt {

std::unique_ptr<QApplication> make_application(int& argc, char** argv) {
    const char* const variable = "QT_NO_GLIB";
    const bool set_here = !qEnvironmentVariableIsSet(variable);
    if (set_here) {
        qputenv(variable, "1");
    }
    auto application = std::make_unique<QApplication>(argc, argv);
    if (set_here) {
        qunsetenv(variable);
    }
    return application;
}

}  // namespace platform::qt
