#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "app/command_line.h"
#include "app/orvanta_conf.h"
#include "platform/file_system.h"

namespace app {

// What happens before the program opens any window: the command line's own
// options, which end the program at once, and orvanta.conf, whose mistakes
// stop it before it runs on settings other than those written.
class Launch {
  public:
    struct Where {
        std::string settings_folder;
        std::string autostart_folder;
        std::string executable;
    };

    Launch(platform::FileSystem& files, Where where, std::ostream& out, std::ostream& err);

    // Carries out what the command line asks; the exit status when the
    // program ends here: 0 when done, 1 when it failed, 2 for a mistake.
    std::optional<int> handle(const CommandLine& command);
    // Reads orvanta.conf into conf; exit status 2 when it is wrong, after
    // saying "orvanta: <path>:<line>: <what is wrong>".
    std::optional<int> read_conf(OrvantaConf& conf);

  private:
    platform::FileSystem& files_;
    Where where_;
    std::ostream& out_;
    std::ostream& err_;
};

}  // namespace app
