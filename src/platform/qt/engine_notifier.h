#pragma once

#include <QSocketNotifier>

#include "platform/posix/socket_engine.h"

namespace platform::qt {

// Lets Qt's event loop drive the socket engine: one notifier on the engine's
// epoll descriptor, and each time it is readable the engine handles what is
// ready. So the sockets keep the program's one thread and its one loop, and
// letting pending events run (QCoreApplication::processEvents) includes them.
class EngineNotifier {
  public:
    explicit EngineNotifier(platform::posix::SocketEngine& engine);
    EngineNotifier(const EngineNotifier&) = delete;
    EngineNotifier& operator=(const EngineNotifier&) = delete;

  private:
    QSocketNotifier notifier_;
};

}  // namespace platform::qt
