#include "platform/navsim/simulated_navigator.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <iterator>
#include <memory>
#include <string>

#include "fakes/fake_clock.h"
#include "fakes/fake_timer.h"
#include "platform/failure.h"
#include "platform/navsim/state_file.h"
#include "platform/navsim/text_file_cache.h"
#include "support/temp_folder.h"

namespace platform::navsim {
namespace {

using namespace std::chrono_literals;
using Outcome = TextFileRead::Outcome;
using test_support::read_file;
using test_support::replace_file;
using test_support::write_file;

class SimulatedNavigatorTest : public ::testing::Test {
  protected:
    std::unique_ptr<SimulatedNavigator> make_navigator() {
        return std::make_unique<SimulatedNavigator>(state_path.string(), clock, timers);
    }
    // What the file shows, as a person watching it would see it.
    StateValues on_file() const {
        return parse_state(read_file(state_path), StateValues{-9, -9, -9, -9});
    }
    // The timer of the navigator made last.
    fakes::FakeTimer& timer() { return *timers.timers.back(); }

    test_support::TempFolder folder;
    std::filesystem::path state_path = folder.path() / "navsim.state";
    fakes::FakeClock clock;
    fakes::FakeTimerFactory timers;
};

TEST_F(SimulatedNavigatorTest, ReadsEachEditAndWritesOnlyWhenMissingOrWhenItChangesSomething) {
    auto navigator = make_navigator();
    EXPECT_EQ(read_file(state_path), format_state(StateValues{}));
    EXPECT_EQ(navigator->ConnectionStatus(), 2);

    const std::string text = "# my notes\nsignal = 3\n";
    write_file(state_path, text);
    EXPECT_EQ(navigator->SignalStatus(), 3);
    navigator->HangUp();  // already disconnected
    EXPECT_EQ(read_file(state_path), text);
    write_file(state_path, "# my notes\nsignal = 0\n");  // same size, same second
    EXPECT_EQ(navigator->SignalStatus(), 0);

    std::filesystem::remove(state_path);
    EXPECT_EQ(navigator->ConnectionStatus(), 2);
    EXPECT_EQ(on_file(), (StateValues{0, 2, 3, 0})) << "back with the state it had";
}

TEST_F(SimulatedNavigatorTest, DialConnectsAfterDialSecondsAtTheNextReadAndAgainWaitsAnew) {
    auto navigator = make_navigator();
    write_file(state_path, "dial_seconds=5\n");
    navigator->Dial();
    EXPECT_EQ(on_file(), (StateValues{1, 3, 5, 0})) << "an edit made before keeps";
    clock.advance(4s);
    navigator->Dial();  // dialing again restarts the wait
    clock.advance(4999ms);
    EXPECT_EQ(navigator->ConnectionStatus(), 3);
    clock.advance(1ms);
    EXPECT_EQ(navigator->SignalStatus(), 1);  // any read completes it
    EXPECT_EQ(on_file(), (StateValues{1, 1, 5, 0}));
    EXPECT_EQ(navigator->ConnectionStatus(), 1);
}

TEST_F(SimulatedNavigatorTest, TimerConnectsOnTimeWhenNobodyReads) {
    auto navigator = make_navigator();
    navigator->Dial();
    ASSERT_TRUE(timer().enabled());
    EXPECT_EQ(timer().interval(), 3000);
    clock.advance(2500ms);
    timer().fire();  // early tick: waits for the rest
    EXPECT_EQ(on_file().connection, 3);
    EXPECT_EQ(timer().interval(), 500);
    clock.advance(500ms);
    timer().fire();
    EXPECT_EQ(on_file().connection, 1);
    EXPECT_FALSE(timer().enabled());

    // A negative wait completes at once, but shows dialing first.
    write_file(state_path, "dial_seconds=-5\n");
    navigator->Dial();
    EXPECT_EQ(on_file().connection, 3);
    EXPECT_EQ(timer().interval(), 0);
    EXPECT_EQ(navigator->ConnectionStatus(), 1);
}

TEST_F(SimulatedNavigatorTest, HangUpAnEditOrNoSignalAtTheEndLeavesADialDisconnected) {
    auto navigator = make_navigator();
    navigator->Dial();
    clock.advance(1s);
    navigator->HangUp();
    EXPECT_EQ(on_file().connection, 2);
    EXPECT_FALSE(timer().enabled());
    clock.advance(10s);
    timer().fire();
    EXPECT_EQ(navigator->ConnectionStatus(), 2);

    navigator->Dial();
    replace_file(state_path, "connection=2\n");
    EXPECT_EQ(navigator->ConnectionStatus(), 2);
    replace_file(state_path, "connection=3\n");
    clock.advance(3s);
    timer().fire();
    EXPECT_EQ(navigator->ConnectionStatus(), 3);

    // A dial ends disconnected when the signal is zero at its completion.
    navigator->Dial();
    replace_file(state_path, "signal=0\nconnection=3\n");
    clock.advance(3s);
    EXPECT_EQ(navigator->ConnectionStatus(), 2);

    // Only the signal at completion counts, not the one at the start.
    navigator->Dial();
    replace_file(state_path, "signal=1\nconnection=3\n");
    clock.advance(3s);
    timer().fire();
    EXPECT_EQ(on_file().connection, 1);
}

TEST_F(SimulatedNavigatorTest, FailMakesEveryOperationThrowAndChangeNothing) {
    auto navigator = make_navigator();
    const std::string failing = "signal=1\nconnection=2\nfail=-7\n";
    replace_file(state_path, failing);
    EXPECT_THROW(navigator->SignalStatus(), Failure);
    EXPECT_THROW(navigator->ConnectionStatus(), Failure);
    EXPECT_THROW(navigator->Dial(), Failure);
    EXPECT_THROW(navigator->HangUp(), Failure);
    EXPECT_EQ(read_file(state_path), failing);
    EXPECT_FALSE(timer().enabled());

    replace_file(state_path, "fail=0\n");
    navigator->Dial();
    EXPECT_EQ(navigator->ConnectionStatus(), 3);

    // A dial due while failing shows once the control works again.
    replace_file(state_path, "connection=3\nfail=1\n");
    clock.advance(3s);
    EXPECT_THROW(navigator->ConnectionStatus(), Failure);
    replace_file(state_path, "connection=3\nfail=0\n");
    EXPECT_EQ(navigator->ConnectionStatus(), 1);
}

TEST_F(SimulatedNavigatorTest, WorksFromMemoryWhenTheFileCannotBeWrittenOrRead) {
    write_file(folder.path() / "plain", "");
    std::filesystem::create_directory(folder.path() / "a_folder");
    for (const auto& path :
         {folder.path() / "absent" / "navsim.state", folder.path() / "plain" / "navsim.state",
          folder.path() / "a_folder"}) {
        SimulatedNavigator navigator(path.string(), clock, timers);
        EXPECT_EQ(navigator.SignalStatus(), 1) << path;
        navigator.Dial();
        EXPECT_EQ(navigator.ConnectionStatus(), 3) << path;
        clock.advance(3s);
        EXPECT_EQ(navigator.ConnectionStatus(), 1) << path;
        navigator.HangUp();
        EXPECT_EQ(navigator.ConnectionStatus(), 2) << path;
    }
    // Failed writes leave no temporary files behind either.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 2);
}

// The state file is read on top of values distinct from the defaults, so
// that a kept value is told apart from a reset.
constexpr StateValues kPrevious{3, 1, 7, 0};

TEST(StateFileTest, ReadsKeysWithBlanksCommentsCrLfAndAByteOrderMark) {
    const StateValues values = parse_state(
        "# header\r\n"
        "   # indented comment: signal=0\n"
        "\t signal \t=\t 0 \r\n"
        "\n"
        "connection= 3\r\n"
        "dial_seconds =-4\n"
        "fail=1",  // no final line break
        kPrevious);
    EXPECT_EQ(values, (StateValues{0, 3, -4, 1}));
    // Unknown keys and lines without an equals sign are passed over.
    EXPECT_EQ(parse_state("colour=2\nSignal=0\nsignal\nconnection 2\n=5\n", kPrevious), kPrevious);
    EXPECT_EQ(parse_state("\xEF\xBB\xBFsignal=0\n", kPrevious).signal, 0);
}

TEST(StateFileTest, ValuesOutsideSixteenBitsOrMalformedKeepTheLastValidOne) {
    for (const char* value : {"abc", "1.5", "40000", "32768", "-32769", "", "+1", "1 2", "0x1",
                              "2 # comment", "99999999999999999999"}) {
        EXPECT_EQ(parse_state(std::string("signal=") + value, kPrevious).signal, 3) << value;
    }
    EXPECT_EQ(parse_state("signal=-32768\nconnection=32767\nfail=-0\n", kPrevious),
              (StateValues{-32768, 32767, 7, 0}));
    EXPECT_EQ(parse_state("signal=0\nsignal=1\n", kPrevious).signal, 1);
    EXPECT_EQ(parse_state("signal=0\nsignal=oops\n", kPrevious).signal, 0);
}

TEST(StateFileTest, FormatsHeaderThenKeysInFixedOrderThatReadBack) {
    const std::string text = format_state({0, 3, 12, -1});
    const std::string header = text.substr(0, text.find("\nsignal=0\n"));
    EXPECT_EQ(header.front(), '#');
    for (const char* key : {"signal", "connection", "dial_seconds", "fail"}) {
        EXPECT_NE(header.find(key), std::string::npos) << key;
    }
    EXPECT_TRUE(text.ends_with("\nsignal=0\nconnection=3\ndial_seconds=12\nfail=-1\n")) << text;
    const StateValues values{-32768, 32767, 0, 5};
    EXPECT_EQ(parse_state(format_state(values), kPrevious), values);
    EXPECT_EQ(parse_state(format_state(StateValues{}), kPrevious), StateValues{});
}

// The navigator reads its file through this cache.
using TextFileCacheTest = SimulatedNavigatorTest;

std::string text_of(TextFileCache& cache) {
    const TextFileRead read = cache.read();
    EXPECT_EQ(read.outcome, Outcome::Read);
    return read.text;
}

TEST_F(TextFileCacheTest, TellsMissingAndUnreadableApart) {
    TextFileCache cache(state_path);
    EXPECT_EQ(cache.read().outcome, Outcome::Missing);
    std::filesystem::create_directory(state_path);
    EXPECT_EQ(cache.read().outcome, Outcome::Unreadable);
    std::filesystem::remove(state_path);
    EXPECT_EQ(TextFileCache(folder / "no-folder/navsim.state").read().outcome, Outcome::Missing);
}

TEST_F(TextFileCacheTest, SeesARewriteOfTheSameSizeRightAfterARead) {
    // Within the file system's clock tick the times may not move at all
    // (kernels before 6.13 keep them to the tick).
    TextFileCache cache(state_path);
    write_file(state_path, "signal=1\n");
    EXPECT_EQ(text_of(cache), "signal=1\n");
    write_file(state_path, "signal=0\n");
    EXPECT_EQ(text_of(cache), "signal=0\n");
    write_file(state_path, "signal=1\n");
    EXPECT_EQ(text_of(cache), "signal=1\n");
}

TEST_F(TextFileCacheTest, ATrustedTextGivesWayToAnyChange) {
    // Trusting a text at once: only the stamp can tell a change.
    TextFileCache cache(state_path, std::chrono::nanoseconds(0));
    write_file(state_path, "signal=1\n");
    EXPECT_EQ(text_of(cache), "signal=1\n");
    EXPECT_EQ(text_of(cache), "signal=1\n");

    write_file(state_path, "signal=1\nfail=1\n");
    EXPECT_EQ(text_of(cache), "signal=1\nfail=1\n") << "a change of size";

    ASSERT_TRUE(replace_text_file(state_path, "signal=0\nfail=1\n"));
    EXPECT_EQ(text_of(cache), "signal=0\nfail=1\n") << "a new file renamed over it";

    std::filesystem::remove(state_path);
    EXPECT_EQ(cache.read().outcome, Outcome::Missing);
    write_file(state_path, "signal=0\nfail=1\n");
    EXPECT_EQ(text_of(cache), "signal=0\nfail=1\n") << "the same text, back again";
}

}  // namespace
}  // namespace platform::navsim
