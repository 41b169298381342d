#include "util/file_utilities.h"

#include "platform/failure.h"

namespace util {

std::string join_path(const std::string& folder, const std::string& name) {
    if (!folder.empty() && folder.back() == '/') {
        return folder + name;
    }
    return folder + "/" + name;
}

FileUtilities::FileUtilities(platform::FileSystem& files, const platform::ProgramLocation& location)
    : files_(files), location_(location) {}

bool FileUtilities::FileExists(const std::string& path) const {
    // Every failure, whatever its cause, reads as "no such file".
    try {
        const auto slash = path.find_last_of('/');
        const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
        if (name.empty() || name.front() == '.') {
            return false;
        }
        return files_.is_regular_file(path);
    } catch (const platform::Failure&) {
        return false;
    }
}

std::string FileUtilities::GetSystemPath() const {
    try {
        std::string folder = location_.system_folder();
        while (folder.size() > 1 && folder.back() == '/') {
            folder.pop_back();
        }
        return folder;
    } catch (const platform::Failure&) {
        return {};
    }
}

}  // namespace util
