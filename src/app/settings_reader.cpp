#include "app/settings_reader.h"

#include <string>

#include "app/settings_file.h"
#include "platform/failure.h"
#include "util/cp1252.h"
#include "util/file_utilities.h"

namespace app {

SettingsReader::SettingsReader(platform::FileSystem& files,
                               const platform::ProgramLocation& location)
    : files_(files), location_(location) {}

SettingsReadOutcome SettingsReader::read(Settings& settings) const {
    try {
        // Asked afresh each time: where the program lies is not ours to cache.
        const std::string path = settings_path(location_.settings_folder());
        if (!util::FileUtilities(files_, location_).FileExists(path)) {
            return SettingsReadOutcome::Missing;
        }
        const std::string text = util::from_cp1252(files_.read_file(path));
        return parse_settings(text, settings) ? SettingsReadOutcome::Loaded
                                              : SettingsReadOutcome::ReadFailure;
    } catch (const platform::Failure&) {
        // Not knowing where the file lies counts as failing to read it.
        return SettingsReadOutcome::ReadFailure;
    }
}

}  // namespace app
