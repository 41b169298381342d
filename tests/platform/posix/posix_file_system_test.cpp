#include "platform/posix/posix_file_system.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "platform/failure.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using test_support::read_file;
using test_support::write_file;

class PosixFileSystemTest : public ::testing::Test {
  protected:
    std::string at(const std::string& name) const { return (folder.path() / name).string(); }
    static int open_descriptors() {
        return static_cast<int>(std::distance(fs::directory_iterator("/proc/self/fd"), {}));
    }

    test_support::TempFolder folder;
    platform::posix::PosixFileSystem files;
};

TEST_F(PosixFileSystemTest, ReadsTheWholeFileAndFailuresThrowExceptForRemove) {
    std::string content(200'000, '\0');
    for (std::size_t i = 0; i < content.size(); ++i) {
        content[i] = static_cast<char>(i * 7);
    }
    write_file(at("big"), content);
    EXPECT_EQ(files.read_file(at("big")), content);
    write_file(at("empty"), "");
    EXPECT_EQ(files.read_file(at("empty")), "");

    fs::create_directory(at("folder"));
    EXPECT_THROW(files.read_file(at("missing")), platform::Failure);
    EXPECT_THROW(files.read_file(at("folder")), platform::Failure);

    write_file(at("plain"), "x");
    EXPECT_THROW(files.create_temporary(at("absent")), platform::Failure);
    EXPECT_THROW(files.create_temporary(at("plain")), platform::Failure);
    EXPECT_THROW(files.replace(at("absent"), at("target")), platform::Failure);
    EXPECT_FALSE(fs::exists(at("target")));
    files.remove(at("absent"));  // never throws
    files.remove(at("plain"));
    EXPECT_FALSE(fs::exists(at("plain")));
}

TEST_F(PosixFileSystemTest, ATemporaryFileReplacesTheTargetInOneStepKeepingItsMode) {
    write_file(at("target"), "old");
    fs::permissions(at("target"), fs::perms(0604));

    auto file = files.create_temporary(folder.path().string());
    const fs::path temporary = file->path();
    EXPECT_EQ(temporary.parent_path(), folder.path());
    EXPECT_EQ(temporary.filename().string().front(), '.');
    file->write("new ");
    file->write(std::string("con\0tent", 8));
    file->commit();
    EXPECT_EQ(read_file(at("target")), "old");

    files.replace(temporary.string(), at("target"));
    EXPECT_EQ(read_file(at("target")), std::string("new con\0tent", 12));
    EXPECT_EQ(fs::status(at("target")).permissions(), fs::perms(0604));
    EXPECT_FALSE(fs::exists(temporary));

    // A file that replaces none gets the mode the umask allows.
    const mode_t before = ::umask(027);
    auto fresh = files.create_temporary(folder.path().string());
    ::umask(before);
    fresh->commit();
    files.replace(fresh->path(), at("fresh"));
    EXPECT_EQ(fs::status(at("fresh")).permissions(), fs::perms(0640));
}

TEST_F(PosixFileSystemTest, FoldersAreMadeWithTheirParentsAndExactlyTheModeAskedFor) {
    const std::string deep = at("config/orvanta");
    EXPECT_FALSE(files.exists(deep));
    const mode_t before = ::umask(077);  // would take the group's bits away
    files.make_folders(deep, 0750);
    ::umask(before);
    EXPECT_TRUE(files.exists(deep));
    const auto mode = [](const std::string& path) { return fs::status(path).permissions(); };
    EXPECT_EQ(mode(at("config")), fs::perms(0750));
    EXPECT_EQ(mode(deep), fs::perms(0750));

    // Folders that are there, the parents above included, are left as they are.
    fs::permissions(folder.path(), fs::perms(0740));
    files.make_folders(deep, 0700);
    EXPECT_EQ(mode(folder.path().string()), fs::perms(0740));
    EXPECT_EQ(mode(deep), fs::perms(0750));
    write_file(at("file"), "x");
    EXPECT_THROW(files.make_folders(at("file/below"), 0700), platform::Failure);
}

TEST_F(PosixFileSystemTest, ACommittedOrDroppedFileIsClosed) {
    const int open_before = open_descriptors();
    auto committed = files.create_temporary(folder.path().string());
    auto dropped = files.create_temporary(folder.path().string());
    EXPECT_NE(committed->path(), dropped->path());
    EXPECT_EQ(open_descriptors(), open_before + 2);

    committed->commit();
    EXPECT_THROW(committed->write("late"), platform::Failure);
    EXPECT_THROW(committed->commit(), platform::Failure);
    dropped.reset();
    EXPECT_EQ(open_descriptors(), open_before);
}

}  // namespace
