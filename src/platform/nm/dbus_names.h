#pragma once

// The names under which NetworkManager and ModemManager publish what the
// navigator reads, as their D-Bus APIs define them.
namespace platform::nm::names {

inline constexpr const char* properties = "org.freedesktop.DBus.Properties";
inline constexpr const char* object_manager = "org.freedesktop.DBus.ObjectManager";

inline constexpr const char* nm_service = "org.freedesktop.NetworkManager";
inline constexpr const char* nm_path = "/org/freedesktop/NetworkManager";
inline constexpr const char* nm_manager = "org.freedesktop.NetworkManager";
inline constexpr const char* nm_settings_path = "/org/freedesktop/NetworkManager/Settings";
inline constexpr const char* nm_settings = "org.freedesktop.NetworkManager.Settings";
inline constexpr const char* nm_connection = "org.freedesktop.NetworkManager.Settings.Connection";
inline constexpr const char* nm_active = "org.freedesktop.NetworkManager.Connection.Active";
inline constexpr const char* nm_device = "org.freedesktop.NetworkManager.Device";
inline constexpr const char* nm_wireless = "org.freedesktop.NetworkManager.Device.Wireless";
inline constexpr const char* nm_access_point = "org.freedesktop.NetworkManager.AccessPoint";

inline constexpr const char* mm_service = "org.freedesktop.ModemManager1";
inline constexpr const char* mm_path = "/org/freedesktop/ModemManager1";
inline constexpr const char* mm_modem = "org.freedesktop.ModemManager1.Modem";

}  // namespace platform::nm::names
