#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

// What the navigator knows of NetworkManager's objects, in plain C++: the few
// properties that decide what the control reports, by object path.
namespace platform::nm {

// NetworkManager's NMDeviceState values that the mapping compares against.
inline constexpr std::uint32_t device_disconnected = 30;

// NMDeviceType values.
enum class DeviceType : std::uint32_t {
    unknown = 0,
    ethernet = 1,
    wifi = 2,
    bluetooth = 5,
    modem = 8,
};

// NMActiveConnectionState values.
enum class ActiveState : std::uint32_t {
    unknown = 0,
    activating = 1,
    activated = 2,
    deactivating = 3,
    deactivated = 4,
};

struct DeviceRecord {
    std::uint32_t type = 0;
    std::uint32_t state = 0;
    std::string interface;
    // For a modem, the path of ModemManager's modem object.
    std::string udi;
    // Wi-Fi only.
    std::string active_access_point;
    std::vector<std::string> access_points;
};

struct AccessPointRecord {
    std::string ssid;
    std::uint8_t strength = 0;
};

// A connection profile, from its settings.
struct ConnectionRecord {
    std::string id;
    std::string uuid;
    std::string type;
    std::string interface_name;
    // Wi-Fi only.
    std::string ssid;
};

struct ActiveRecord {
    std::string connection;
    std::string uuid;
    std::uint32_t state = 0;
    std::vector<std::string> devices;
};

struct NetworkRecords {
    // The devices in NetworkManager's order, which decides "the first device
    // of a type".
    std::vector<std::string> device_order;
    std::map<std::string, DeviceRecord> devices;
    std::map<std::string, AccessPointRecord> access_points;
    std::map<std::string, ConnectionRecord> connections;
    std::map<std::string, ActiveRecord> actives;
};

}  // namespace platform::nm
