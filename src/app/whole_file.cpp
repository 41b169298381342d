#include "app/whole_file.h"

#include <memory>
#include <utility>

#include "platform/failure.h"

namespace app {

namespace {

// A temporary file that is removed again unless it has been put in place.
class PendingFile {
  public:
    PendingFile(platform::FileSystem& files, std::unique_ptr<platform::OutputFile> file)
        : files_(files), file_(std::move(file)) {
        if (!file_) {
            throw platform::Failure("no temporary file");
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

void write_whole(platform::FileSystem& files, const std::string& folder, const std::string& target,
                 std::string_view bytes) {
    PendingFile pending(files, files.create_temporary(folder));
    pending.write_and_commit(bytes);
    pending.place_over(target);
}

}  // namespace app
