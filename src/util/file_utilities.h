#pragma once

#include <string>

#include "platform/file_system.h"
#include "platform/program_location.h"

namespace util {

// Joins a folder and a file name with one '/', also when the folder is the
// root of the file system.
std::string join_path(const std::string& folder, const std::string& name);

// The existence test and the system directory that start-up and the
// information window use.
class FileUtilities {
  public:
    FileUtilities(platform::FileSystem& files, const platform::ProgramLocation& location);

    // True only for an existing regular file (a link to one counts) whose name
    // does not start with '.', the mark of a hidden file. Never fails.
    bool FileExists(const std::string& path) const;
    // The folder where the navigator control is installed: on Linux the
    // program's own folder, without a trailing '/'. Empty when it is unknown.
    std::string GetSystemPath() const;

  private:
    platform::FileSystem& files_;
    const platform::ProgramLocation& location_;
};

}  // namespace util
