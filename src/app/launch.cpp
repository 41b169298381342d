#include "app/launch.h"

#include "app/autostart.h"
#include "info/version_label.h"
#include "platform/failure.h"
#include "util/file_utilities.h"

namespace app {

Launch::Launch(platform::FileSystem& files, Where where, std::ostream& out, std::ostream& err)
    : files_(files), where_(std::move(where)), out_(out), err_(err) {}

std::optional<int> Launch::handle(const CommandLine& command) {
    switch (command.action) {
        case CommandLine::Action::Run:
            return std::nullopt;
        case CommandLine::Action::Help:
            out_ << usage_text();
            return 0;
        case CommandLine::Action::Version:
            out_ << "Orvanta " << info::version_caption(info::ProgramVersion{}) << "\n";
            return 0;
        case CommandLine::Action::AutostartOn:
        case CommandLine::Action::AutostartOff:
            try {
                Autostart autostart(files_, where_.autostart_folder);
                out_ << (command.action == CommandLine::Action::AutostartOn
                             ? autostart.on(where_.executable)
                             : autostart.off())
                     << "\n";
                return 0;
            } catch (const platform::Failure& failure) {
                err_ << "orvanta: --autostart: " << failure.what() << "\n";
                return 1;
            }
        case CommandLine::Action::Mistake:
            err_ << "orvanta: " << command.mistake << "\n" << usage_lines();
            return 2;
    }
    return 2;
}

std::optional<int> Launch::read_conf(OrvantaConf& conf) {
    const std::string path = util::join_path(where_.settings_folder, std::string(kConfFileName));
    const ConfResult result = read_orvanta_conf(files_, path);
    if (const auto* read = std::get_if<OrvantaConf>(&result)) {
        conf = *read;
        return std::nullopt;
    }
    const ConfError& error = std::get<ConfError>(result);
    err_ << "orvanta: " << path;
    if (error.line > 0) {
        err_ << ":" << error.line;
    }
    err_ << ": " << error.what << "\n";
    return 2;
}

}  // namespace app
