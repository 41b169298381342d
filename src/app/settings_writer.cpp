#include "app/settings_writer.h"

#include <string>

#include "app/settings_file.h"
#include "app/whole_file.h"
#include "platform/failure.h"
#include "util/cp1252.h"
#include "util/file_utilities.h"

namespace app {

SettingsWriter::SettingsWriter(platform::FileSystem& files,
                               const platform::ProgramLocation& location,
                               const platform::Clock& clock)
    : files_(files), location_(location), clock_(clock) {}

bool SettingsWriter::write(const Settings& settings) const {
    try {
        const std::string folder = location_.settings_folder();
        const std::string path = settings_path(folder);
        if (util::FileUtilities(files_, location_).FileExists(path) && !files_.is_writable(path)) {
            return false;
        }
        const std::string bytes = util::to_cp1252(format_settings(settings, clock_.short_date()));
        // Installed, the folder is the user's own, made on the first save;
        // a program's folder is there already.
        files_.make_folders(folder, private_folder);

        write_whole(files_, folder, path, bytes);
        return true;
    } catch (const platform::Failure&) {
        return false;
    }
}

}  // namespace app
