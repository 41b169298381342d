#pragma once

#include "app/settings.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/program_location.h"

namespace app {

// Stores the settings in Orvanta.ini beside the program, stamped with today's
// date.
//
// The new text goes to a temporary file in the same folder, which replaces
// Orvanta.ini only once it is complete on the disk. A failure at any step
// (a full disk, a folder we may not write) thus leaves the file the user had,
// byte for byte, and removes the temporary file. A read-only Orvanta.ini is
// refused up front, although the folder might let us replace it: the user
// marked it so to keep it as it is.
class SettingsWriter {
  public:
    // The settings folder, when it has to be made, is the user's alone.
    static constexpr unsigned private_folder = 0700;

    SettingsWriter(platform::FileSystem& files, const platform::ProgramLocation& location,
                   const platform::Clock& clock);

    // True when Orvanta.ini now holds settings; false, with nothing changed,
    // otherwise. Never throws platform::Failure.
    [[nodiscard]] bool write(const Settings& settings) const;

  private:
    platform::FileSystem& files_;
    const platform::ProgramLocation& location_;
    const platform::Clock& clock_;
};

}  // namespace app
