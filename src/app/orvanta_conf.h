#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/file_system.h"
#include "util/ipv4.h"

namespace app {

// orvanta.conf: the settings that only this edition has, beside Orvanta.ini,
// which other programs read and which never grows. The program never writes
// it. UTF-8 text, one `key = value` a line (blanks around both ignored);
// blank lines and lines whose first non-blank character is '#' say nothing.
//
// Keys:
//   navigator = simulated | networkmanager
//                  what stands behind the navigator control: the simulation
//                  (the default) or a NetworkManager connection
//   connection = <id or UUID>
//                  the NetworkManager connection; required with, and
//                  allowed only with, navigator = networkmanager
//   min_signal = <0 to 100>
//                  the weakest signal, in percent, that counts as a signal
//                  (default 10); allowed only with networkmanager
//   metrics = <IPv4 address>:<port>
//                  serve Prometheus metrics there (default: no metrics)
//   clients = <IPv4 address or block>[, ...]
//                  the only clients the server talks to (default: all)
//   listen_address = <IPv4 address>
//                  the one address the server listens on (default: all)

inline constexpr std::string_view kConfFileName = "orvanta.conf";

struct OrvantaConf {
    enum class Navigator { Simulated, NetworkManager };
    Navigator navigator = Navigator::Simulated;
    std::string connection;
    int min_signal = 10;
    std::optional<util::Ipv4Endpoint> metrics;
    // Empty: every client may talk to the server.
    std::vector<util::Ipv4Block> clients;
    // Empty: every address.
    std::string listen_address;

    bool operator==(const OrvantaConf&) const = default;
};

// What is wrong with the file, and on which line (0 where no line is meant).
struct ConfError {
    int line = 0;
    std::string what;

    bool operator==(const ConfError&) const = default;
};

using ConfResult = std::variant<OrvantaConf, ConfError>;

// Reads the file's text. An unknown key, a key given twice, a value that is
// not allowed, a line without '=' or text that is not UTF-8 is an error: a
// typo must never run the program on settings other than those written.
ConfResult parse_orvanta_conf(std::string_view text);

// Reads the file at path: every default when nothing is there, an error when
// something is there but cannot be read.
ConfResult read_orvanta_conf(platform::FileSystem& files, const std::string& path);

}  // namespace app
