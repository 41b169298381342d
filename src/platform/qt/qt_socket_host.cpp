#include "platform/qt/qt_socket_host.h"

#include <QHostAddress>
#include <QString>

namespace platform::qt {

namespace {

constexpr std::size_t longest_name = 253;
constexpr std::size_t longest_label = 63;

bool is_label_byte(unsigned char byte) {
    return (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
           (byte >= '0' && byte <= '9') || byte == '-' || byte == '_' || byte >= 0x80;
}

bool is_label(std::string_view label) {
    if (label.empty() || label.size() > longest_label || label.front() == '-' ||
        label.back() == '-') {
        return false;
    }
    for (const char c : label) {
        if (!is_label_byte(static_cast<unsigned char>(c))) {
            return false;
        }
    }
    return true;
}

bool is_host_name(std::string_view name) {
    // One final dot is the fully qualified form of the same name.
    if (!name.empty() && name.back() == '.') {
        name.remove_suffix(1);
    }
    if (name.empty() || name.size() > longest_name) {
        return false;
    }
    for (;;) {
        const std::size_t dot = name.find('.');
        if (!is_label(name.substr(0, dot))) {
            return false;
        }
        if (dot == std::string_view::npos) {
            return true;
        }
        name.remove_prefix(dot + 1);
    }
}

}  // namespace

bool could_name_a_host(std::string_view host) {
    const QString text = QString::fromUtf8(host.data(), static_cast<qsizetype>(host.size()));
    return !QHostAddress(text).isNull() || is_host_name(host);
}

}  // namespace platform::qt
