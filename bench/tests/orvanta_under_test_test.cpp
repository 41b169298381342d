#include "orvanta_under_test.h"

#include <gtest/gtest.h>

#include "in_process_orvanta.h"
#include "round_trip.h"

namespace bench {
namespace {

using OrvantaUnderTestTest = InProcessOrvantaTest;

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
