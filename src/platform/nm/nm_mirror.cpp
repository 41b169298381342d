#include "platform/nm/nm_mirror.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <algorithm>
#include <utility>

#include "platform/nm/dbus_names.h"
#include "platform/nm/dbus_values.h"

namespace platform::nm {

namespace {

bool contains(const std::vector<std::string>& list, const std::string& item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}

}  // namespace

NmMirror::NmMirror(BusCalls& calls, std::function<void(bool)> on_presence)
    : calls_(calls),
      on_presence_(std::move(on_presence)),
      watcher_(names::nm_service, calls.connection(), QDBusServiceWatcher::WatchForOwnerChange) {}

void NmMirror::start() {
    // Followed before the first reading, so that no change falls between
    // reading a value and following it. The path is left open: one
    // subscription covers every device, access point and connection.
    follow("", names::properties, "PropertiesChanged");
    follow("", names::nm_device, "StateChanged");
    follow("", names::nm_active, "StateChanged");
    follow(names::nm_path, names::nm_manager, "DeviceAdded");
    follow(names::nm_path, names::nm_manager, "DeviceRemoved");
    follow(names::nm_settings_path, names::nm_settings, "NewConnection");
    follow(names::nm_settings_path, names::nm_settings, "ConnectionRemoved");
    follow("", names::nm_connection, "Updated");
    connect(&watcher_, &QDBusServiceWatcher::serviceOwnerChanged, this,
            &NmMirror::on_owner_changed);
    fill();
}

void NmMirror::follow(const char* path, const char* interface, const char* member) {
    calls_.connection().connect(names::nm_service, path, interface, member, this,
                                SLOT(on_signal(QDBusMessage)));
}

void NmMirror::on_owner_changed(const QString&, const QString& old_owner,
                                const QString& new_owner) {
    if (!old_owner.isEmpty()) {
        const bool was_present = present_;
        clear();
        trouble_ = "NetworkManager left the system bus";
        if (was_present) {
            gone_told_ = true;
            on_presence_(false);
        }
    }
    if (!new_owner.isEmpty()) {
        fill();
    }
}

void NmMirror::clear() {
    ++generation_;
    outstanding_ = 0;
    present_ = false;
    failed_ = false;
    filled_ = false;
    records_ = NetworkRecords{};
}

void NmMirror::fill() {
    clear();
    fetch(names::nm_path, names::nm_manager, true);
    fetch(names::nm_settings_path, names::nm_settings, true);
}

void NmMirror::fetch(const std::string& path, const QString& interface, bool essential) {
    const std::uint64_t generation = generation_;
    ++outstanding_;
    calls_.get_all(
        names::nm_service, QString::fromStdString(path), interface,
        [this, generation, essential, path, interface](const QVariantMap& values) {
            if (generation != generation_) {
                return;
            }
            if (essential && !present_) {
                present_ = true;
                trouble_.clear();
                if (gone_told_) {
                    gone_told_ = false;
                    on_presence_(true);
                }
            }
            apply(path, interface, values);
            answered();
        },
        [this, generation, essential, path](const QDBusError& error) {
            if (generation != generation_) {
                return;
            }
            if (essential) {
                failed_ = true;
                trouble_ = error.message();
            } else {
                // The object went away while it was being read; its removal
                // arrives as a change of the list that named it.
                records_.devices.erase(path);
                records_.access_points.erase(path);
                records_.actives.erase(path);
            }
            answered();
        });
}

void NmMirror::fetch_connection(const std::string& path) {
    const std::uint64_t generation = generation_;
    ++outstanding_;
    const QDBusMessage call = QDBusMessage::createMethodCall(
        names::nm_service, QString::fromStdString(path), names::nm_connection, "GetSettings");
    calls_.send(
        call, read_timeout_ms,
        [this, generation, path](const QDBusMessage& reply) {
            if (generation != generation_) {
                return;
            }
            const auto found = records_.connections.find(path);
            if (found == records_.connections.end()) {
                answered();
                return;
            }
            const auto settings =
                qdbus_cast<QMap<QString, QVariantMap>>(reply.arguments().value(0));
            const QVariantMap connection = settings.value("connection");
            ConnectionRecord& record = found->second;
            record.id = values::text(connection.value("id"));
            record.uuid = values::text(connection.value("uuid"));
            record.type = values::text(connection.value("type"));
            record.interface_name = values::text(connection.value("interface-name"));
            record.ssid = values::bytes(settings.value("802-11-wireless").value("ssid"));
            answered();
        },
        [this, generation, path](const QDBusError&) {
            if (generation != generation_) {
                return;
            }
            records_.connections.erase(path);
            answered();
        });
}

void NmMirror::answered() {
    --outstanding_;
    if (outstanding_ == 0 && !failed_) {
        filled_ = true;
    }
}

void NmMirror::on_signal(const QDBusMessage& message) {
    const std::string path = message.path().toStdString();
    const QString interface = message.interface();
    const QString member = message.member();
    const QList<QVariant> args = message.arguments();
    if (interface == names::properties) {
        apply(path, args.value(0).toString(), qdbus_cast<QVariantMap>(args.value(1)));
        // NetworkManager sends its values along; one that it only declares
        // changed is read again.
        if (!args.value(2).toStringList().isEmpty()) {
            fetch(path, args.value(0).toString(), false);
        }
    } else if (member == "StateChanged") {
        const QVariantMap state{{"State", args.value(0)}};
        apply(path, interface, state);
    } else if (member == "DeviceAdded") {
        add_device(values::text(args.value(0)));
    } else if (member == "DeviceRemoved") {
        remove_device(values::text(args.value(0)));
    } else if (member == "NewConnection") {
        const std::string added = values::text(args.value(0));
        if (!records_.connections.contains(added)) {
            records_.connections.emplace(added, ConnectionRecord{});
            fetch_connection(added);
        }
    } else if (member == "ConnectionRemoved") {
        records_.connections.erase(values::text(args.value(0)));
    } else if (member == "Updated" && records_.connections.contains(path)) {
        fetch_connection(path);
    }
}

void NmMirror::apply(const std::string& path, const QString& interface, const QVariantMap& values) {
    if (interface == names::nm_manager && path == names::nm_path) {
        apply_manager(values);
    } else if (interface == names::nm_settings && path == names::nm_settings_path) {
        apply_settings(values);
    } else if (interface == names::nm_device && records_.devices.contains(path)) {
        apply_device(path, values);
    } else if (interface == names::nm_wireless && records_.devices.contains(path)) {
        apply_wireless(path, values);
    } else if (interface == names::nm_access_point && records_.access_points.contains(path)) {
        apply_access_point(path, values);
    } else if (interface == names::nm_active && records_.actives.contains(path)) {
        apply_active(path, values);
    }
}

void NmMirror::apply_manager(const QVariantMap& v) {
    if (v.contains("Devices")) {
        set_devices(values::paths(v.value("Devices")));
    }
    if (v.contains("ActiveConnections")) {
        set_actives(values::paths(v.value("ActiveConnections")));
    }
}

void NmMirror::apply_settings(const QVariantMap& v) {
    if (v.contains("Connections")) {
        set_connections(values::paths(v.value("Connections")));
    }
}

void NmMirror::apply_device(const std::string& path, const QVariantMap& v) {
    DeviceRecord& device = records_.devices.at(path);
    const bool was_wifi = device.type == static_cast<std::uint32_t>(DeviceType::wifi);
    if (v.contains("DeviceType")) {
        device.type = values::number(v.value("DeviceType"));
    }
    if (v.contains("State")) {
        device.state = values::number(v.value("State"));
    }
    if (v.contains("Interface")) {
        device.interface = values::text(v.value("Interface"));
    }
    if (v.contains("Udi")) {
        device.udi = values::text(v.value("Udi"));
    }
    if (!was_wifi && device.type == static_cast<std::uint32_t>(DeviceType::wifi)) {
        fetch(path, names::nm_wireless, false);
    }
}

void NmMirror::apply_wireless(const std::string& path, const QVariantMap& v) {
    DeviceRecord& device = records_.devices.at(path);
    if (v.contains("ActiveAccessPoint")) {
        device.active_access_point = values::text(v.value("ActiveAccessPoint"));
    }
    if (v.contains("AccessPoints")) {
        set_access_points(device, values::paths(v.value("AccessPoints")));
    }
}

void NmMirror::apply_access_point(const std::string& path, const QVariantMap& v) {
    AccessPointRecord& ap = records_.access_points.at(path);
    if (v.contains("Ssid")) {
        ap.ssid = values::bytes(v.value("Ssid"));
    }
    if (v.contains("Strength")) {
        ap.strength = static_cast<std::uint8_t>(values::number(v.value("Strength")));
    }
}

void NmMirror::apply_active(const std::string& path, const QVariantMap& v) {
    ActiveRecord& active = records_.actives.at(path);
    if (v.contains("Connection")) {
        active.connection = values::text(v.value("Connection"));
    }
    if (v.contains("Uuid")) {
        active.uuid = values::text(v.value("Uuid"));
    }
    if (v.contains("State")) {
        active.state = values::number(v.value("State"));
    }
    if (v.contains("Devices")) {
        active.devices = values::paths(v.value("Devices"));
    }
}

void NmMirror::add_device(const std::string& path) {
    if (path.empty() || records_.devices.contains(path)) {
        return;
    }
    if (!contains(records_.device_order, path)) {
        records_.device_order.push_back(path);
    }
    records_.devices.emplace(path, DeviceRecord{});
    fetch(path, names::nm_device, false);
}

void NmMirror::remove_device(const std::string& path) {
    const auto found = records_.devices.find(path);
    if (found == records_.devices.end()) {
        return;
    }
    for (const std::string& ap : found->second.access_points) {
        records_.access_points.erase(ap);
    }
    records_.devices.erase(found);
    std::erase(records_.device_order, path);
}

void NmMirror::set_devices(const std::vector<std::string>& paths) {
    const std::vector<std::string> known = records_.device_order;
    for (const std::string& path : known) {
        if (!contains(paths, path)) {
            remove_device(path);
        }
    }
    for (const std::string& path : paths) {
        add_device(path);
    }
    records_.device_order = paths;
}

void NmMirror::set_actives(const std::vector<std::string>& paths) {
    std::erase_if(records_.actives,
                  [&](const auto& entry) { return !contains(paths, entry.first); });
    for (const std::string& path : paths) {
        if (records_.actives.contains(path)) {
            continue;
        }
        records_.actives.emplace(path, ActiveRecord{});
        fetch(path, names::nm_active, false);
    }
}

void NmMirror::set_connections(const std::vector<std::string>& paths) {
    std::erase_if(records_.connections,
                  [&](const auto& entry) { return !contains(paths, entry.first); });
    for (const std::string& path : paths) {
        if (!records_.connections.contains(path)) {
            records_.connections.emplace(path, ConnectionRecord{});
            fetch_connection(path);
        }
    }
}

void NmMirror::set_access_points(DeviceRecord& device, const std::vector<std::string>& paths) {
    for (const std::string& path : device.access_points) {
        if (!contains(paths, path)) {
            records_.access_points.erase(path);
        }
    }
    device.access_points = paths;
    for (const std::string& path : paths) {
        if (records_.access_points.contains(path)) {
            continue;
        }
        records_.access_points.emplace(path, AccessPointRecord{});
        fetch(path, names::nm_access_point, false);
    }
}

}  // namespace platform::nm
