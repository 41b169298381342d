#include "child_process.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <fstream>
#include <sstream>
#include <stdexcept>

#include "cores.h"
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

TEST(ChildProcessTest, RunsPinnedInItsFolderOffscreenWithItsArgumentsAndErrorsInTheLog) {
    ProgramFolder folder("child");
    const std::string program =
        write_program(folder,
                      "pwd\necho \"$QT_QPA_PLATFORM $1\"\necho oops >&2\n"
                      "grep Cpus_allowed_list /proc/self/status\nwhile :; do sleep 0.05; done");
    const int core = server_core();
    ChildProcess child({program, "word"}, folder.path(), folder / "stderr.log", core);
    EXPECT_EQ(child.read_line(5s), folder.path());
    EXPECT_EQ(child.read_line(5s), "offscreen word");
    // The program's own children inherit the core.
    EXPECT_EQ(child.read_line(5s), "Cpus_allowed_list:\t" + std::to_string(core));
    EXPECT_EQ(allowed_cores(child.pid()), std::vector<int>{core});
    EXPECT_TRUE(child.running());
    EXPECT_EQ(child.stop(5s).signal, SIGTERM);
    EXPECT_FALSE(child.running());
    EXPECT_EQ(read_text(folder / "stderr.log"), "oops\n");
}

TEST(ChildProcessTest, SilenceAndAnEndedProgramAreReportedNotWaitedFor) {
    ProgramFolder folder("child");
    ChildProcess quiet({write_program(folder, "exec sleep 5")}, folder.path(),
                       folder / "quiet.log");
    EXPECT_THROW(quiet.read_line(100ms), std::runtime_error);
    ProgramFolder other("child");
    ChildProcess gone({write_program(other, "exit 4")}, other.path(), other / "gone.log");
    EXPECT_THROW(gone.read_line(5s), std::runtime_error);
    EXPECT_EQ(gone.stop(5s).code, 4);
}

TEST(ChildProcessTest, StopTellsAnEndOnSigtermFromOneAfterThePatience) {
    ProgramFolder folder("child");
    ChildProcess orderly({write_program(folder,
                                        "trap 'exit 0' TERM\necho up\n"
                                        "while :; do sleep 0.05; done")},
                         folder.path(), folder / "orderly.log");
    ASSERT_EQ(orderly.read_line(5s), "up");
    EXPECT_EQ(orderly.stop(5s).code, 0);
    ChildProcess stubborn(
        {write_program(folder, "trap '' TERM\necho up\nwhile :; do sleep 0.05; done")},
        folder.path(), folder / "stderr.log");
    ASSERT_EQ(stubborn.read_line(5s), "up");
    const auto start = std::chrono::steady_clock::now();
    const ExitStatus killed = stubborn.stop(300ms);
    EXPECT_FALSE(stubborn.running());
    EXPECT_GE(std::chrono::steady_clock::now() - start, 300ms);
    EXPECT_EQ(killed.code, std::nullopt);
    EXPECT_EQ(killed.signal, SIGKILL);
}

}  // namespace
}  // namespace bench
