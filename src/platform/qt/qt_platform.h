#pragma once

#include "platform/metrics.h"
#include "platform/pe/pe_version_info.h"
#include "platform/posix/posix_file_system.h"
#include "platform/posix/posix_winsock.h"
#include "platform/posix/socket_engine.h"
#include "platform/posix/stderr_console.h"
#include "platform/qt/engine_notifier.h"
#include "platform/qt/qt_clock.h"
#include "platform/qt/qt_desktop.h"
#include "platform/qt/qt_events.h"
#include "platform/qt/qt_message_box.h"
#include "platform/qt/qt_shell.h"
#include "platform/qt/qt_timer.h"
#include "platform/qt/qt_tray_icon.h"

namespace platform::qt {

// One of each platform service the program runs on in its Qt build, with the
// POSIX file system, our socket engine (driven by Qt's loop) and the PE
// version reader beside Qt's own, made and ended in this order. The
// program's location and its navigator are left to whoever puts the program
// together: the benchmark puts both elsewhere. Needs a QApplication.
struct QtPlatform {
    QtClock clock;
    QtTimerFactory timers;
    QtTrayIcon tray;
    QtEvents events;
    QtDesktop desktop;
    QtMessageBox message_box{desktop};
    platform::posix::SocketEngine sockets;
    EngineNotifier sockets_notifier{sockets};
    platform::posix::PosixNetwork network{sockets};
    platform::posix::PosixFileSystem files;
    platform::pe::PeVersionInfo version_info;
    QtShell shell;
    platform::posix::StderrConsole console;
    // Replaced by the served metrics when orvanta.conf asks for them.
    platform::NoMetrics no_metrics;
};

}  // namespace platform::qt
