#include "platform/qt/engine_notifier.h"

namespace platform::qt {

EngineNotifier::EngineNotifier(platform::posix::SocketEngine& engine)
    : notifier_(engine.descriptor(), QSocketNotifier::Read) {
    QObject::connect(&notifier_, &QSocketNotifier::activated, &notifier_,
                     [&engine] { engine.dispatch(); });
}

}  // namespace platform::qt
