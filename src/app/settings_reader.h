#pragma once

#include "app/settings.h"
#include "platform/file_system.h"
#include "platform/program_location.h"

namespace app {

enum class SettingsReadOutcome {
    Loaded,       // all nine values were read
    Missing,      // there is no Orvanta.ini; nothing was changed
    ReadFailure,  // the file could not be read, ended too early or held a bad value
};

// Loads the settings from Orvanta.ini beside the program.
class SettingsReader {
  public:
    SettingsReader(platform::FileSystem& files, const platform::ProgramLocation& location);

    // Reads into settings. On a read failure the values read before the fault
    // are kept and the others are left as they were (see parse_settings).
    // Never throws.
    SettingsReadOutcome read(Settings& settings) const;

  private:
    platform::FileSystem& files_;
    const platform::ProgramLocation& location_;
};

}  // namespace app
