#include "platform/qt/qt_program_location.h"

#include <QCoreApplication>

#include "platform/failure.h"

namespace platform::qt {

std::string QtProgramLocation::program_folder() const {
    const QString folder = QCoreApplication::applicationDirPath();
    if (folder.isEmpty()) {
        throw platform::Failure("the program's folder is unknown");
    }
    return folder.toStdString();
}

}  // namespace platform::qt
