#include "app/autostart.h"

#include "app/whole_file.h"
#include "platform/failure.h"
#include "util/file_utilities.h"

namespace app {

namespace {

constexpr std::string_view reserved = " \t\n\"'\\><~|&;$*?#()`";

}  // namespace

std::string exec_argument(const std::string& path) {
    std::string argument;
    const bool quote = path.find_first_of(reserved) != std::string::npos;
    for (const char c : path) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            throw platform::Failure("the program's path cannot stand in a desktop entry");
        }
        if (c == '%') {
            argument += "%%";
        } else if (quote && (c == '"' || c == '`' || c == '$' || c == '\\')) {
            argument += '\\';
            argument += c;
        } else {
            argument += c;
        }
    }
    if (quote) {
        argument = "\"" + argument + "\"";
    }
    // The key's value is a string, in which a backslash is written twice.
    std::string value;
    for (const char c : argument) {
        value += c;
        if (c == '\\') {
            value += '\\';
        }
    }
    return value;
}

std::string autostart_entry(const std::string& executable) {
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Orvanta\n"
           "Comment=Watch the satellite Internet link and serve its status\n"
           "Exec=" +
           exec_argument(executable) +
           "\n"
           "Icon=org.orvanta.Orvanta\n"
           "Terminal=false\n"
           "X-GNOME-Autostart-enabled=true\n";
}

Autostart::Autostart(platform::FileSystem& files, std::string folder)
    : files_(files), folder_(std::move(folder)) {}

std::string Autostart::path() const {
    return util::join_path(folder_, std::string(file_name));
}

std::string Autostart::on(const std::string& executable) {
    const std::string text = autostart_entry(executable);
    files_.make_folders(folder_, 0700);
    // Put in place whole: a desktop never reads half of it.
    write_whole(files_, folder_, path(), text);
    return "Orvanta starts with the desktop session: wrote " + path();
}

std::string Autostart::off() {
    if (!files_.exists(path())) {
        return "Orvanta did not start with the desktop session: " + path() + " is not there";
    }
    files_.remove(path());
    if (files_.exists(path())) {
        throw platform::Failure("cannot remove " + path());
    }
    return "Orvanta no longer starts with the desktop session: removed " + path();
}

}  // namespace app
