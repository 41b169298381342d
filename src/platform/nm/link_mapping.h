#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "platform/nm/network_records.h"

// How NetworkManager's and ModemManager's state become the navigator
// control's two values.
namespace platform::nm {

// ModemManager's signal quality in percent, by modem object path.
using ModemQualities = std::map<std::string, std::uint32_t>;

// The path of the connection profile that `key` names: the one with that
// UUID, else the first with that id.
std::optional<std::string> find_connection(const NetworkRecords& records, const std::string& key);

// 1 while the connection is activated, 3 while it is activating, else 2.
std::int16_t connection_status(const NetworkRecords& records, const std::string& connection);

// 1 when the link's device is available and its signal, where it has one,
// reaches min_signal percent; 3 otherwise, no device included.
std::int16_t signal_status(const NetworkRecords& records, const ModemQualities& modems,
                           const std::string& connection, int min_signal);

// The active connections of the profile that are activating or activated,
// by path: what a hang-up deactivates.
std::map<std::string, const ActiveRecord*> live_actives(const NetworkRecords& records,
                                                        const std::string& connection);

}  // namespace platform::nm
