#pragma once

#include <QDBusMessage>
#include <QDBusServiceWatcher>
#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>

#include "platform/nm/bus_calls.h"
#include "platform/nm/link_mapping.h"

namespace platform::nm {

// The signal quality of every modem that ModemManager knows, read once and
// then kept current from its change signals. A modem that ModemManager does
// not list, or every modem while ModemManager is away, has no value.
class ModemSignals : public QObject {
    Q_OBJECT

  public:
    // `on_presence` is told each time ModemManager leaves (false) after it
    // had answered, and when it answers again after that (true).
    ModemSignals(BusCalls& calls, std::function<void(bool present)> on_presence);

    // Follows the change signals and starts reading ModemManager, which
    // need not be on the bus.
    void start();

    const ModemQualities& qualities() const { return qualities_; }

  private slots:
    void on_signal(const QDBusMessage& message);
    void on_owner_changed(const QString& service, const QString& old_owner,
                          const QString& new_owner);

  private:
    void follow(const char* interface, const char* member);
    void fill();
    void take(const std::string& path, const QVariantMap& modem);

    BusCalls& calls_;
    std::function<void(bool)> on_presence_;
    QDBusServiceWatcher watcher_;
    ModemQualities qualities_;
    bool present_ = false;
    bool gone_told_ = false;
    std::uint64_t generation_ = 0;
};

}  // namespace platform::nm
