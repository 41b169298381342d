#include "platform/nm/link_mapping.h"

#include <algorithm>
#include <utility>

namespace platform::nm {

namespace {

const ConnectionRecord* profile(const NetworkRecords& records, const std::string& connection) {
    const auto found = records.connections.find(connection);
    return found == records.connections.end() ? nullptr : &found->second;
}

bool belongs_to(const ActiveRecord& active, const std::string& connection,
                const ConnectionRecord& settings) {
    return active.connection == connection ||
           (!settings.uuid.empty() && active.uuid == settings.uuid);
}

// What NetworkManager calls a device of the kind that a connection type
// needs (the setting names of nm-settings, the values of NMDeviceType).
std::optional<std::uint32_t> device_type_for(const std::string& connection_type) {
    static const std::map<std::string, std::uint32_t> types = {
        {"802-3-ethernet", 1}, {"pppoe", 1},      {"802-11-wireless", 2},
        {"bluetooth", 5},      {"olpc-mesh", 6},  {"gsm", 8},
        {"cdma", 8},           {"infiniband", 9}, {"bond", 10},
        {"vlan", 11},          {"adsl", 12},      {"bridge", 13},
        {"team", 15},          {"tun", 16},       {"wireguard", 29},
        {"wifi-p2p", 30},
    };
    const auto found = types.find(connection_type);
    if (found == types.end()) {
        return std::nullopt;
    }
    return found->second;
}

// The device the connection runs on, or else the one it would use: the one
// its interface-name names, or the first of its type.
const DeviceRecord* link_device(const NetworkRecords& records, const std::string& connection,
                                const ConnectionRecord& settings) {
    for (const auto& [path, active] : records.actives) {
        if (belongs_to(active, connection, settings) && !active.devices.empty()) {
            const auto device = records.devices.find(active.devices.front());
            if (device != records.devices.end()) {
                return &device->second;
            }
        }
    }
    const std::optional<std::uint32_t> type = device_type_for(settings.type);
    for (const std::string& path : records.device_order) {
        const auto device = records.devices.find(path);
        if (device == records.devices.end()) {
            continue;
        }
        const bool fits = settings.interface_name.empty()
                              ? type && device->second.type == *type
                              : device->second.interface == settings.interface_name;
        if (fits) {
            return &device->second;
        }
    }
    return nullptr;
}

// The strength of the access point in use for this connection, else the
// strongest one that carries its SSID.
std::optional<std::uint32_t> wifi_strength(const NetworkRecords& records,
                                           const DeviceRecord& device,
                                           const ConnectionRecord& settings) {
    const auto in_use = records.access_points.find(device.active_access_point);
    if (in_use != records.access_points.end() && in_use->second.ssid == settings.ssid) {
        return in_use->second.strength;
    }
    std::optional<std::uint32_t> strongest;
    for (const std::string& path : device.access_points) {
        const auto ap = records.access_points.find(path);
        if (ap != records.access_points.end() && ap->second.ssid == settings.ssid) {
            strongest = std::max<std::uint32_t>(strongest.value_or(0), ap->second.strength);
        }
    }
    return strongest;
}

}  // namespace

std::optional<std::string> find_connection(const NetworkRecords& records, const std::string& key) {
    for (const auto& [path, settings] : records.connections) {
        if (settings.uuid == key) {
            return path;
        }
    }
    for (const auto& [path, settings] : records.connections) {
        if (settings.id == key) {
            return path;
        }
    }
    return std::nullopt;
}

std::map<std::string, const ActiveRecord*> live_actives(const NetworkRecords& records,
                                                        const std::string& connection) {
    std::map<std::string, const ActiveRecord*> live;
    const ConnectionRecord* settings = profile(records, connection);
    if (settings == nullptr) {
        return live;
    }
    for (const auto& [path, active] : records.actives) {
        const auto state = static_cast<ActiveState>(active.state);
        if (belongs_to(active, connection, *settings) &&
            (state == ActiveState::activating || state == ActiveState::activated)) {
            live.emplace(path, &active);
        }
    }
    return live;
}

std::int16_t connection_status(const NetworkRecords& records, const std::string& connection) {
    std::int16_t status = 2;
    for (const auto& [path, active] : live_actives(records, connection)) {
        if (static_cast<ActiveState>(active->state) == ActiveState::activated) {
            return 1;
        }
        status = 3;
    }
    return status;
}

std::int16_t signal_status(const NetworkRecords& records, const ModemQualities& modems,
                           const std::string& connection, int min_signal) {
    const ConnectionRecord* settings = profile(records, connection);
    if (settings == nullptr) {
        return 3;
    }
    const DeviceRecord* device = link_device(records, connection, *settings);
    if (device == nullptr || device->state < device_disconnected) {
        return 3;
    }
    std::optional<std::uint32_t> signal;
    switch (static_cast<DeviceType>(device->type)) {
        case DeviceType::modem: {
            const auto quality = modems.find(device->udi);
            if (quality == modems.end()) {
                return 3;
            }
            signal = quality->second;
            break;
        }
        case DeviceType::wifi:
            signal = wifi_strength(records, *device, *settings);
            if (!signal) {
                return 3;
            }
            break;
        default:
            break;
    }
    if (signal && static_cast<int>(*signal) < min_signal) {
        return 3;
    }
    return 1;
}

}  // namespace platform::nm
