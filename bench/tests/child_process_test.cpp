#include "child_process.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <sstream>
#include <stdexcept>

#include "program_folder.h"

namespace bench {
namespace {

using namespace std::chrono_literals;

// A stand-in for a program of the build: says where and how it runs, then
// waits to be ended.
std::string write_program(const ProgramFolder& folder, const std::string& body) {
    const std::string path = folder / "program";
    std::ofstream(path) << "#!/bin/sh\n" << body << "\n";
    ::chmod(path.c_str(), 0755);
    return path;
}

std::string read_text(const std::string& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(ChildProcessTest, RunsInItsFolderOffscreenWithItsErrorsInTheLog) {
    ProgramFolder folder("child");
    const std::string program = write_program(
        folder, "pwd\necho \"$QT_QPA_PLATFORM\"\necho oops >&2\nwhile :; do sleep 0.05; done");
    ChildProcess child(program, folder.path(), folder / "stderr.log");
    EXPECT_EQ(child.read_line(5s), folder.path());
    EXPECT_EQ(child.read_line(5s), "offscreen");
    EXPECT_TRUE(child.running());
    child.stop(5s);
    EXPECT_FALSE(child.running());
    EXPECT_EQ(read_text(folder / "stderr.log"), "oops\n");
}

TEST(ChildProcessTest, SilenceAndAnEndedProgramAreReportedNotWaitedFor) {
    ProgramFolder folder("child");
    ChildProcess quiet(write_program(folder, "exec sleep 5"), folder.path(), folder / "quiet.log");
    EXPECT_THROW(quiet.read_line(100ms), std::runtime_error);
    ProgramFolder other("child");
    ChildProcess gone(write_program(other, "exit 0"), other.path(), other / "gone.log");
    EXPECT_THROW(gone.read_line(5s), std::runtime_error);
}

TEST(ChildProcessTest, OneThatIgnoresSigtermIsKilledAfterThePatience) {
    ProgramFolder folder("child");
    ChildProcess stubborn(
        write_program(folder, "trap '' TERM\necho up\nwhile :; do sleep 0.05; done"), folder.path(),
        folder / "stderr.log");
    ASSERT_EQ(stubborn.read_line(5s), "up");
    const auto start = std::chrono::steady_clock::now();
    stubborn.stop(300ms);
    EXPECT_FALSE(stubborn.running());
    EXPECT_GE(std::chrono::steady_clock::now() - start, 300ms);
}

}  // namespace
}  // namespace bench
