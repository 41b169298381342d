#include "platform/nm/network_manager_navigator.h"

#include <QDBusError>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <utility>

#include "platform/failure.h"
#include "platform/nm/bus_calls.h"
#include "platform/nm/dbus_names.h"
#include "platform/nm/link_mapping.h"
#include "platform/nm/modem_signals.h"
#include "platform/nm/nm_mirror.h"

namespace platform::nm {

NetworkManagerNavigator::NetworkManagerNavigator(LinkChoice choice, platform::Console& console)
    : NetworkManagerNavigator(std::move(choice), console, QDBusConnection::systemBus()) {}

NetworkManagerNavigator::NetworkManagerNavigator(LinkChoice choice, platform::Console& console,
                                                 QDBusConnection bus)
    : choice_(std::move(choice)), notes_(console) {
    if (!bus.isConnected()) {
        throw Failure("cannot reach the system bus to watch the connection " + quoted() + ": " +
                      bus.lastError().message().toStdString());
    }
    calls_ = std::make_unique<BusCalls>(std::move(bus));
    mirror_ = std::make_unique<NmMirror>(*calls_, [this](bool present) {
        notes_.tell("NetworkManager",
                    present ? "NetworkManager is back on the system bus"
                            : "NetworkManager left the system bus: the state of the connection " +
                                  quoted() + " is unknown until it is back");
    });
    modems_ = std::make_unique<ModemSignals>(*calls_, [this](bool present) {
        notes_.tell("ModemManager", present ? "ModemManager is back on the system bus"
                                            : "ModemManager left the system bus: a modem "
                                              "shows no signal until it is back");
    });
    mirror_->start();
    modems_->start();
    calls_->settle();
    if (!mirror_->present()) {
        throw Failure("NetworkManager is not on the system bus, so the connection " + quoted() +
                      " cannot be watched (" + mirror_->trouble().toStdString() + ")");
    }
    if (!mirror_->filled()) {
        throw Failure("NetworkManager could not be read, so the connection " + quoted() +
                      " cannot be watched (" + mirror_->trouble().toStdString() + ")");
    }
    if (!find_connection(mirror_->records(), choice_.connection)) {
        throw Failure("NetworkManager does not know the connection " + quoted() +
                      " (`nmcli connection show` lists the ones it knows)");
    }
}

NetworkManagerNavigator::~NetworkManagerNavigator() = default;

std::string NetworkManagerNavigator::connection_path() {
    if (!mirror_->present()) {
        throw Failure("NetworkManager is not on the system bus");
    }
    if (!mirror_->filled()) {
        throw Failure("NetworkManager is still being read");
    }
    const auto path = find_connection(mirror_->records(), choice_.connection);
    if (!path) {
        notes_.tell("connection", "NetworkManager no longer knows the connection " + quoted());
        return {};
    }
    notes_.settled("connection");
    return *path;
}

std::int16_t NetworkManagerNavigator::SignalStatus() {
    const std::string path = connection_path();
    if (path.empty()) {
        return 3;
    }
    return signal_status(mirror_->records(), modems_->qualities(), path, choice_.min_signal);
}

std::int16_t NetworkManagerNavigator::ConnectionStatus() {
    const std::string path = connection_path();
    if (path.empty()) {
        return 2;
    }
    return connection_status(mirror_->records(), path);
}

void NetworkManagerNavigator::Dial() {
    const std::string path = connection_path();
    if (path.empty()) {
        throw Failure("NetworkManager no longer knows the connection " + quoted());
    }
    const QDBusObjectPath none("/");
    command("dial", "ActivateConnection",
            {QVariant::fromValue(QDBusObjectPath(QString::fromStdString(path))),
             QVariant::fromValue(none), QVariant::fromValue(none)});
}

void NetworkManagerNavigator::HangUp() {
    const std::string path = connection_path();
    if (path.empty()) {
        return;
    }
    for (const auto& [active, record] : live_actives(mirror_->records(), path)) {
        command("hang up", "DeactivateConnection",
                {QVariant::fromValue(QDBusObjectPath(QString::fromStdString(active)))});
    }
}

void NetworkManagerNavigator::command(const std::string& subject, const QString& method,
                                      const QVariantList& args) {
    QDBusMessage call = QDBusMessage::createMethodCall(names::nm_service, names::nm_path,
                                                       names::nm_manager, method);
    call.setArguments(args);
    calls_->send(
        call, command_timeout_ms, [this, subject](const QDBusMessage&) { notes_.settled(subject); },
        [this, subject](const QDBusError& error) {
            notes_.tell(subject, "NetworkManager refused to " + subject + " the connection " +
                                     quoted() + ": " + error.name().toStdString() + ": " +
                                     error.message().toStdString());
        });
}

}  // namespace platform::nm
