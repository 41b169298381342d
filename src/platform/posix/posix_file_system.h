#pragma once

#include <memory>
#include <string>

#include "platform/file_system.h"

namespace platform::posix {

// The file system through POSIX calls.
//
// Temporary files are named ".orvanta-XXXXXX" in their folder: the leading dot
// hides them, so one left behind by a crash is never taken for a file of ours.
// They get the permissions a plainly created file would get (0666 less the
// umask), and replace() hands the replaced file's permission bits on to the
// newcomer, so rewriting a file does not change who may read it.
class PosixFileSystem final : public FileSystem {
  public:
    PosixFileSystem() = default;

    // Follows links. A path that does not lead anywhere is no regular file;
    // other errors (no permission to search a folder, ...) throw.
    bool is_regular_file(const std::string& path) override;
    // A link that leads nowhere is something too: it is there to be mended.
    bool exists(const std::string& path) override;
    // The mode is given exactly, whatever the umask.
    void make_folders(const std::string& path, unsigned mode) override;
    std::string read_file(const std::string& path) override;
    // False also for a file without any write permission bit when we are
    // root, who could write it anyway: the bits say what the user wants.
    bool is_writable(const std::string& path) override;
    std::unique_ptr<OutputFile> create_temporary(const std::string& folder) override;
    // rename(2), then a best-effort flush of the folder so that the new name
    // survives a power cut.
    void replace(const std::string& from, const std::string& to) override;
    void remove(const std::string& path) noexcept override;
};

}  // namespace platform::posix
