#include "platform/nm/modem_signals.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusObjectPath>
#include <utility>

#include "platform/nm/dbus_names.h"
#include "platform/nm/dbus_values.h"

namespace platform::nm {

ModemSignals::ModemSignals(BusCalls& calls, std::function<void(bool)> on_presence)
    : calls_(calls),
      on_presence_(std::move(on_presence)),
      watcher_(names::mm_service, calls.connection(), QDBusServiceWatcher::WatchForOwnerChange) {}

void ModemSignals::start() {
    follow(names::properties, "PropertiesChanged");
    follow(names::object_manager, "InterfacesAdded");
    follow(names::object_manager, "InterfacesRemoved");
    connect(&watcher_, &QDBusServiceWatcher::serviceOwnerChanged, this,
            &ModemSignals::on_owner_changed);
    fill();
}

void ModemSignals::follow(const char* interface, const char* member) {
    calls_.connection().connect(names::mm_service, "", interface, member, this,
                                SLOT(on_signal(QDBusMessage)));
}

void ModemSignals::on_owner_changed(const QString&, const QString& old_owner,
                                    const QString& new_owner) {
    if (!old_owner.isEmpty()) {
        ++generation_;
        qualities_.clear();
        if (present_) {
            present_ = false;
            gone_told_ = true;
            on_presence_(false);
        }
    }
    if (!new_owner.isEmpty()) {
        fill();
    }
}

void ModemSignals::fill() {
    const std::uint64_t generation = ++generation_;
    const QDBusMessage call = QDBusMessage::createMethodCall(
        names::mm_service, names::mm_path, names::object_manager, "GetManagedObjects");
    calls_.send(
        call, read_timeout_ms,
        [this, generation](const QDBusMessage& reply) {
            if (generation != generation_) {
                return;
            }
            const auto objects = reply.arguments().value(0).value<QDBusArgument>();
            if (objects.currentSignature() != QLatin1String("a{oa{sa{sv}}}")) {
                return;
            }
            objects.beginMap();
            while (!objects.atEnd()) {
                QDBusObjectPath path;
                QMap<QString, QVariantMap> interfaces;
                objects.beginMapEntry();
                objects >> path >> interfaces;
                objects.endMapEntry();
                if (interfaces.contains(names::mm_modem)) {
                    take(path.path().toStdString(), interfaces.value(names::mm_modem));
                }
            }
            objects.endMap();
            present_ = true;
            if (gone_told_) {
                gone_told_ = false;
                on_presence_(true);
            }
        },
        // Without ModemManager, modems simply have no signal.
        [](const QDBusError&) {});
}

void ModemSignals::take(const std::string& path, const QVariantMap& modem) {
    if (const auto quality = values::quality(modem.value("SignalQuality"))) {
        qualities_[path] = *quality;
    }
}

void ModemSignals::on_signal(const QDBusMessage& message) {
    const QList<QVariant> args = message.arguments();
    if (message.member() == "PropertiesChanged") {
        if (args.value(0).toString() == names::mm_modem) {
            take(message.path().toStdString(), qdbus_cast<QVariantMap>(args.value(1)));
        }
    } else if (message.member() == "InterfacesAdded") {
        const auto interfaces = qdbus_cast<QMap<QString, QVariantMap>>(args.value(1));
        if (interfaces.contains(names::mm_modem)) {
            take(values::text(args.value(0)), interfaces.value(names::mm_modem));
        }
    } else if (message.member() == "InterfacesRemoved") {
        if (args.value(1).toStringList().contains(names::mm_modem)) {
            qualities_.erase(values::text(args.value(0)));
        }
    }
}

}  // namespace platform::nm
