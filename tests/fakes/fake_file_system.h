#pragma once

#include <algorithm>
#include <cstddef>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "fakes/fault.h"
#include "platform/failure.h"
#include "platform/file_system.h"

namespace fakes {

// One entry of the fake file system. An irregular entry stands for anything
// that is not a plain file: a folder, a device, a dangling link.
struct FakeEntry {
    std::string bytes;
    bool regular = true;
    bool writable = true;
};

// A file system in memory: a map from path to entry. Every operation counts
// its calls and can be made to fail, and the disk can be made to fill up
// after a given number of bytes, part-way through a write. Temporary files
// live in the same map while they are written, so a test sees one that is
// left behind.
class FakeFileSystem : public platform::FileSystem {
  public:
    std::map<std::string, FakeEntry> entries;

    Fault regular_fault;
    Fault read_fault;
    Fault writable_fault;
    Fault create_fault;
    Fault write_fault;
    Fault commit_fault;
    Fault replace_fault;
    Fault folder_fault;

    // The folders made by make_folders, with the mode asked for, in order.
    std::vector<std::pair<std::string, unsigned>> made_folders;

    // Room left on the disk, in bytes; nothing means no limit.
    std::optional<std::size_t> free_bytes;
    // Every path that remove() was called for, in order.
    std::vector<std::string> removed;

    // Puts a plain file at path.
    void put(const std::string& path, std::string_view bytes) {
        entries[path] = FakeEntry{std::string(bytes)};
    }
    bool contains(const std::string& path) const { return entries.count(path) != 0; }
    // The paths of every entry, in order.
    std::vector<std::string> paths() const {
        std::vector<std::string> all;
        for (const auto& [path, entry] : entries) {
            all.push_back(path);
        }
        return all;
    }

    bool is_regular_file(const std::string& path) override {
        regular_fault.check("is_regular_file");
        const auto found = entries.find(path);
        return found != entries.end() && found->second.regular;
    }

    bool exists(const std::string& path) override {
        return contains(path) ||
               std::any_of(made_folders.begin(), made_folders.end(),
                           [&path](const auto& folder) { return folder.first == path; });
    }

    void make_folders(const std::string& path, unsigned mode) override {
        folder_fault.check("make_folders");
        made_folders.emplace_back(path, mode);
    }

    std::string read_file(const std::string& path) override {
        read_fault.check("read_file");
        const auto found = entries.find(path);
        if (found == entries.end() || !found->second.regular) {
            throw platform::Failure("read_file " + path + ": no such file (test double)");
        }
        return found->second.bytes;
    }

    bool is_writable(const std::string& path) override {
        writable_fault.check("is_writable");
        const auto found = entries.find(path);
        return found != entries.end() && found->second.writable;
    }

    std::unique_ptr<platform::OutputFile> create_temporary(const std::string& folder) override {
        create_fault.check("create_temporary");
        std::string path = folder;
        if (path.empty() || path.back() != '/') {
            path += '/';
        }
        path += ".temporary-" + std::to_string(++temporaries_);
        entries[path] = FakeEntry{};
        return std::make_unique<File>(*this, path);
    }

    void replace(const std::string& from, const std::string& to) override {
        replace_fault.check("replace");
        const auto found = entries.find(from);
        if (found == entries.end()) {
            throw platform::Failure("replace " + from + ": no such file (test double)");
        }
        FakeEntry moved = std::move(found->second);
        entries.erase(found);
        entries[to] = std::move(moved);
    }

    void remove(const std::string& path) noexcept override {
        removed.push_back(path);
        entries.erase(path);
    }

  private:
    class File : public platform::OutputFile {
      public:
        File(FakeFileSystem& files, std::string path) : files_(files), path_(std::move(path)) {}

        const std::string& path() const override { return path_; }

        void write(std::string_view bytes) override {
            files_.write_fault.check("write");
            if (committed_) {
                throw platform::Failure("write after commit (test double)");
            }
            std::string& content = files_.entries.at(path_).bytes;
            if (files_.free_bytes && *files_.free_bytes < bytes.size()) {
                // What fits reaches the disk, as with a real one filling up.
                content.append(bytes.substr(0, *files_.free_bytes));
                *files_.free_bytes = 0;
                throw platform::Failure("write: no space left on device (test double)");
            }
            content.append(bytes);
            if (files_.free_bytes) {
                *files_.free_bytes -= bytes.size();
            }
        }

        void commit() override {
            files_.commit_fault.check("commit");
            if (committed_) {
                throw platform::Failure("commit twice (test double)");
            }
            committed_ = true;
        }

      private:
        FakeFileSystem& files_;
        std::string path_;
        bool committed_ = false;
    };

    int temporaries_ = 0;
};

}  // namespace fakes
