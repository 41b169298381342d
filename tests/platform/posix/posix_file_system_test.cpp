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
    files.make_folders(deep, 0700);
    ASSERT_TRUE(fs::is_directory(deep));
    for (const std::string& made : {at("config"), deep}) {
        struct stat status {};
        ASSERT_EQ(::stat(made.c_str(), &status), 0);
        EXPECT_EQ(status.st_mode & 07777, 0700U) << made << ": whatever the umask";
    }
    EXPECT_TRUE(files.exists(deep));
    fs::permissions(folder.path(), fs::perms::owner_all | fs::perms::group_read);
    files.make_folders(at("config"), 0755);  // there already: left as it is
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
