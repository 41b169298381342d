#include "app/orvanta_conf.h"

#include <map>
#include <optional>

#include "platform/failure.h"
#include "util/text.h"

namespace app {

namespace {

// Whether text is well-formed UTF-8: no stray continuation byte, no
// overlong form, no surrogate, nothing past U+10FFFF.
bool is_utf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        std::size_t length = 0;
        char32_t code = 0;
        if (byte < 0x80) {
            ++i;
            continue;
        }
        if (byte >= 0xC2 && byte <= 0xDF) {
            length = 2;
            code = byte & 0x1Fu;
        } else if (byte >= 0xE0 && byte <= 0xEF) {
            length = 3;
            code = byte & 0x0Fu;
        } else if (byte >= 0xF0 && byte <= 0xF4) {
            length = 4;
            code = byte & 0x07u;
        } else {
            return false;
        }
        if (i + length > text.size()) {
            return false;
        }
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0u) != 0x80u) {
                return false;
            }
            code = (code << 6) | (next & 0x3Fu);
        }
        const char32_t smallest = length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
        if (code < smallest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
            return false;
        }
        i += length;
    }
    return true;
}

std::string quoted(std::string_view text) {
    // Built up in place: GCC 12 at -O3 mistakes "\"" + string for overlapping copies.
    std::string result(1, '"');
    result.append(text);
    result += '"';
    return result;
}

}  // namespace

ConfResult parse_orvanta_conf(std::string_view text) {
    if (!is_utf8(text)) {
        return ConfError{0, "not UTF-8 text"};
    }
    OrvantaConf conf;
    std::map<std::string, int> seen;
    int number = 0;
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t end = text.find('\n', start);
        std::string_view line = text.substr(
            start, end == std::string_view::npos ? std::string_view::npos : end - start);
        start = end == std::string_view::npos ? text.size() + 1 : end + 1;
        ++number;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        line = util::trim_blanks(line);
        if (line.empty() || line.front() == '#') {
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            return ConfError{number, "expected \"key = value\", found " + quoted(line)};
        }
        const std::string key(util::trim_blanks(line.substr(0, equals)));
        const std::string_view value = util::trim_blanks(line.substr(equals + 1));
        if (key.empty()) {
            return ConfError{number, "a value without a key"};
        }
        if (const auto before = seen.find(key); before != seen.end()) {
            return ConfError{number, "key " + quoted(key) + " given again (first on line " +
                                         std::to_string(before->second) + ")"};
        }
        if (key == "navigator") {
            if (value == "simulated") {
                conf.navigator = OrvantaConf::Navigator::Simulated;
            } else if (value == "networkmanager") {
                conf.navigator = OrvantaConf::Navigator::NetworkManager;
            } else {
                return ConfError{number, "navigator cannot be " + quoted(value) +
                                             "; it can be \"simulated\" or \"networkmanager\""};
            }
        } else if (key == "connection") {
            if (value.empty()) {
                return ConfError{number, "connection needs a connection's id or UUID"};
            }
            conf.connection = value;
        } else if (key == "min_signal") {
            const auto minimum = util::parse_decimal(value, 100);
            if (!minimum) {
                return ConfError{number, "min_signal must be a whole number from 0 to 100, not " +
                                             quoted(value)};
            }
            conf.min_signal = static_cast<int>(*minimum);
        } else if (key == "metrics") {
            conf.metrics = util::parse_ipv4_endpoint(value);
            if (!conf.metrics) {
                return ConfError{number,
                                 "metrics must be an IPv4 address and a port, such as "
                                 "127.0.0.1:9100, not " +
                                     quoted(value)};
            }
        } else if (key == "clients") {
            for (std::size_t at = 0; at <= value.size();) {
                const std::size_t comma = value.find(',', at);
                const std::string_view item = util::trim_blanks(
                    value.substr(at, comma == std::string_view::npos ? comma : comma - at));
                at = comma == std::string_view::npos ? value.size() + 1 : comma + 1;
                const auto block = util::parse_ipv4_block(item);
                if (!block) {
                    return ConfError{number,
                                     "clients must be IPv4 addresses or blocks such as "
                                     "192.168.1.0/24, separated by commas; " +
                                         quoted(item) + " is none"};
                }
                conf.clients.push_back(*block);
            }
        } else if (key == "listen_address") {
            if (!util::parse_ipv4(value)) {
                return ConfError{number,
                                 "listen_address must be an IPv4 address, not " + quoted(value)};
            }
            conf.listen_address = value;
        } else {
            return ConfError{number, "unknown key " + quoted(key)};
        }
        seen.emplace(key, number);
    }
    // What goes with which navigator, whatever the order of the lines.
    if (conf.navigator == OrvantaConf::Navigator::NetworkManager) {
        if (!seen.contains("connection")) {
            return ConfError{seen.at("navigator"),
                             "navigator = networkmanager needs a \"connection = ...\" line"};
        }
    } else {
        for (const char* key : {"connection", "min_signal"}) {
            if (const auto found = seen.find(key); found != seen.end()) {
                return ConfError{found->second,
                                 quoted(key) + " goes only with navigator = networkmanager"};
            }
        }
    }
    return conf;
}

ConfResult read_orvanta_conf(platform::FileSystem& files, const std::string& path) {
    try {
        if (!files.exists(path)) {
            return OrvantaConf{};
        }
        return parse_orvanta_conf(files.read_file(path));
    } catch (const platform::Failure& failure) {
        return ConfError{0, std::string("cannot be read: ") + failure.what()};
    }
}

}  // namespace app
