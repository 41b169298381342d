#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace platform {

// A file being written. It becomes complete only through commit(); one that
// is dropped before that is closed as it stands.
class OutputFile {
  public:
    OutputFile() = default;
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    virtual ~OutputFile() = default;

    // Where the file lies.
    virtual const std::string& path() const = 0;
    // Appends bytes; throws platform::Failure.
    virtual void write(std::string_view bytes) = 0;
    // Flushes everything to the disk and closes the file; throws platform::Failure.
    virtual void commit() = 0;
};

// The file operations the logic needs. Paths are joined with '/'.
class FileSystem {
  public:
    FileSystem() = default;
    FileSystem(const FileSystem&) = delete;
    FileSystem& operator=(const FileSystem&) = delete;
    virtual ~FileSystem() = default;

    // Whether path names an existing regular file, a link to one included.
    virtual bool is_regular_file(const std::string& path) = 0;
    // Whether anything is at path: a file, a folder, or anything else.
    virtual bool exists(const std::string& path) = 0;
    // Makes the folder and any of its parents that are missing, each with the
    // given permission bits; folders that exist are left as they are. Throws
    // platform::Failure.
    virtual void make_folders(const std::string& path, unsigned mode) = 0;
    // The file's whole content; throws platform::Failure when it cannot be read.
    virtual std::string read_file(const std::string& path) = 0;
    // Whether an existing file may be rewritten: false for a file that is
    // read-only (no write permission bit set, or not writable by this user).
    virtual bool is_writable(const std::string& path) = 0;
    // A new, empty file in folder, for writing; throws platform::Failure.
    virtual std::unique_ptr<OutputFile> create_temporary(const std::string& folder) = 0;
    // Puts the file from over the file to in one step; throws platform::Failure.
    virtual void replace(const std::string& from, const std::string& to) = 0;
    // Removes a file if it is there; never fails.
    virtual void remove(const std::string& path) noexcept = 0;
};

}  // namespace platform
