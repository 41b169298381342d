#pragma once

#include <QVariant>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The values of D-Bus properties as the mirror keeps them. Each takes what
// Qt made of a D-Bus value and gives an empty or zero value for anything of
// another type, so that a daemon that sends something unexpected cannot
// stop the mirror.
namespace platform::nm::values {

// A string or an object path.
std::string text(const QVariant& value);
// An array of object paths.
std::vector<std::string> paths(const QVariant& value);
// Any unsigned or signed integer.
std::uint32_t number(const QVariant& value);
// An array of bytes, such as an SSID.
std::string bytes(const QVariant& value);
// The first member of a (ub) structure: ModemManager's signal quality.
std::optional<std::uint32_t> quality(const QVariant& value);

}  // namespace platform::nm::values
