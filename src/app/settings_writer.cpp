#include "app/settings_writer.h"

#include <memory>
#include <string>
#include <utility>

#include "app/settings_file.h"
#include "platform/failure.h"
#include "util/cp1252.h"
#include "util/file_utilities.h"

namespace app {

namespace {

// A temporary file that is removed again unless it has been put in place,
// whichever way the writing ends.
class PendingFile {
  public:
    PendingFile(platform::FileSystem& files, std::unique_ptr<platform::OutputFile> file)
        : files_(files), file_(std::move(file)) {
        if (!file_) {
            throw platform::Failure("no temporary file for the settings");
        }
        path_ = file_->path();
    }
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;
    ~PendingFile() {
        if (!placed_) {
            file_.reset();  // closed before it goes
            files_.remove(path_);
        }
    }

    void write_and_commit(std::string_view bytes) {
        file_->write(bytes);
        file_->commit();
    }

    void place_over(const std::string& target) {
        files_.replace(path_, target);
        placed_ = true;
    }

  private:
    platform::FileSystem& files_;
    std::unique_ptr<platform::OutputFile> file_;
    std::string path_;
    bool placed_ = false;
};

}  // namespace

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

        PendingFile pending(files_, files_.create_temporary(folder));
        pending.write_and_commit(bytes);
        pending.place_over(path);
        return true;
    } catch (const platform::Failure&) {
        return false;
    }
}

}  // namespace app
