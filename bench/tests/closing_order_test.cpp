#include "closing_order.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "in_process_orvanta.h"

namespace bench {
namespace {

using namespace std::chrono_literals;

using ClosingOrderTest = InProcessOrvantaTest;

// With time to serve between two closes, Orvanta has processed each request
// before the next connection closes, whatever its sockets' order.
TEST_F(ClosingOrderTest, ReadsTheOrderInWhichOrvantaProcessedTheMessagesOfEachTrial) {
    const ClosingOrder result =
        run_closing_order(*orvanta_, {.trials = 3, .order = {3, 1, 4, 2}, .pause = 100ms});
    EXPECT_EQ(result.trials, 3);
    EXPECT_EQ(result.in_order, 3);
    EXPECT_EQ(result.incomplete, 0);
    EXPECT_EQ(result.orders, (std::map<std::string, int>{{"3142", 3}}));
}

TEST_F(ClosingOrderTest, ClosedBackToBackEveryMessageArrivesWhateverItsTurn) {
    const ClosingOrder result = run_closing_order(*orvanta_, {.trials = 10});
    EXPECT_EQ(result.trials, 10);
    EXPECT_EQ(result.incomplete, 0);
    int counted = 0;
    for (const auto& [order, count] : result.orders) {
        std::string sorted = order;
        std::sort(sorted.begin(), sorted.end());
        EXPECT_EQ(sorted, "1234") << order;
        counted += count;
    }
    EXPECT_EQ(counted, 10);
    EXPECT_EQ(result.in_order, result.orders.count("1234") ? result.orders.at("1234") : 0);
}

}  // namespace
}  // namespace bench
