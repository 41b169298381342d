#include "platform/navsim/text_file_cache.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/temp_folder.h"

namespace platform::navsim {
namespace {

using Outcome = TextFileRead::Outcome;
using test_support::write_file;

std::string text_of(TextFileCache& cache) {
    const TextFileRead read = cache.read();
    EXPECT_EQ(read.outcome, Outcome::Read);
    return read.text;
}

class TextFileCacheTest : public testing::Test {
  protected:
    test_support::TempFolder folder;
    const std::string path = folder / "navsim.state";
};

TEST_F(TextFileCacheTest, TellsMissingAndUnreadableApart) {
    TextFileCache cache(path);
    EXPECT_EQ(cache.read().outcome, Outcome::Missing);
    std::filesystem::create_directory(path);
    EXPECT_EQ(cache.read().outcome, Outcome::Unreadable);
    std::filesystem::remove(path);
    EXPECT_EQ(TextFileCache(folder / "no-folder/navsim.state").read().outcome, Outcome::Missing);
}

TEST_F(TextFileCacheTest, SeesARewriteOfTheSameSizeRightAfterARead) {
    // Within the file system's clock tick the times may not move at all
    // (kernels before 6.13 keep them to the tick).
    TextFileCache cache(path);
    write_file(path, "signal=1\n");
    EXPECT_EQ(text_of(cache), "signal=1\n");
    write_file(path, "signal=0\n");
    EXPECT_EQ(text_of(cache), "signal=0\n");
    write_file(path, "signal=1\n");
    EXPECT_EQ(text_of(cache), "signal=1\n");
}

TEST_F(TextFileCacheTest, ATrustedTextGivesWayToAnyChange) {
    // Trusting a text at once: only the stamp can tell a change.
    TextFileCache cache(path, std::chrono::nanoseconds(0));
    write_file(path, "signal=1\n");
    EXPECT_EQ(text_of(cache), "signal=1\n");
    EXPECT_EQ(text_of(cache), "signal=1\n");

    write_file(path, "signal=1\nfail=1\n");
    EXPECT_EQ(text_of(cache), "signal=1\nfail=1\n") << "a change of size";

    ASSERT_TRUE(replace_text_file(path, "signal=0\nfail=1\n"));
    EXPECT_EQ(text_of(cache), "signal=0\nfail=1\n") << "a new file renamed over it";

    std::filesystem::remove(path);
    EXPECT_EQ(cache.read().outcome, Outcome::Missing);
    write_file(path, "signal=0\nfail=1\n");
    EXPECT_EQ(text_of(cache), "signal=0\nfail=1\n") << "the same text, back again";
}

}  // namespace
}  // namespace platform::navsim
