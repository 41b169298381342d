#include "orvanta_under_test.h"

#include <gtest/gtest.h>

#include "drive.h"
#include "load_client.h"
#include "net.h"
#include "program_folder.h"
#include "round_trip.h"

namespace bench {
namespace {

// One start-up (two seconds of splash screen) for all the tests.
class OrvantaUnderTestTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        folder_ = new ProgramFolder("test");
        folder_->copy_in(build_folder() + "/NAVCTRL.OCX");
        ports_ = free_port_pair();
        folder_->write_settings(ports_.listen, ports_.reply, 32767);
        folder_->write_navigator_state();
        orvanta_ = new OrvantaUnderTest(folder_->path(), ports_.listen);
    }
    static void TearDownTestSuite() {
        delete orvanta_;
        delete folder_;
    }

    // Loads Orvanta and waits until it has processed what its clients saw taken.
    static Driven<LoadResult> load(int in_flight, int requests, const std::string& request) {
        return drive(
            *orvanta_,
            [&] {
                return run_load({ports_.listen, in_flight, requests, request});
            },
            [](const LoadResult& result) { return static_cast<std::uint64_t>(result.taken); });
    }

    static ProgramFolder* folder_;
    static PortPair ports_;
    static OrvantaUnderTest* orvanta_;
};

ProgramFolder* OrvantaUnderTestTest::folder_ = nullptr;
PortPair OrvantaUnderTestTest::ports_{};
OrvantaUnderTest* OrvantaUnderTestTest::orvanta_ = nullptr;

TEST_F(OrvantaUnderTestTest, CountsEachDisconRequestOnce) {
    const auto driven = load(4, 300, "DISCON");
    EXPECT_EQ(driven.client.taken, 300);
    EXPECT_EQ(driven.processed, 300u);
    EXPECT_GT(driven.seconds, 0);
}

TEST_F(OrvantaUnderTestTest, OtherRequestsAndEmptyOnesAreNotCounted) {
    const auto empty = load(2, 20, "");
    const auto messages = load(2, 20, "MESSAGhello");
    EXPECT_EQ(empty.client.taken + messages.client.taken, 40);
    EXPECT_EQ(empty.processed + messages.processed, 0u);
}

TEST_F(OrvantaUnderTestTest, RepliesToStatusOnTheTransmitPortWithoutCountingIt) {
    const auto driven = drive(*orvanta_, [&] {
        return run_round_trips({ports_.listen, ports_.reply, 20, "STATUS", "STATUS-DISCSIGOKna"});
    });
    EXPECT_EQ(driven.client.size(), 20u);
    EXPECT_EQ(driven.processed, 0u);
}

// Orvanta's sockets read a request and its end before the program takes the
// connection, so a client can see its request taken well before Orvanta has
// processed it: the count must wait for those.
TEST_F(OrvantaUnderTestTest, RequestsTakenAheadOfTheirProcessingAreAllCounted) {
    const auto driven = load(12, 600, "DISCON");
    EXPECT_EQ(driven.client.total(), 600);
    EXPECT_EQ(driven.client.reset + driven.client.other, 0);
    EXPECT_EQ(static_cast<std::uint64_t>(driven.client.taken), driven.processed);
}

}  // namespace
}  // namespace bench
