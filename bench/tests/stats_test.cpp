#include "stats.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace bench {
namespace {

std::vector<double> one_to(int n) {
    std::vector<double> samples;
    // Backwards, so that a percentile that forgets to sort is caught.
    for (int i = n; i >= 1; --i) {
        samples.push_back(i);
    }
    return samples;
}

TEST(PercentileTest, NearestRankOfTwoThousandSamples) {
    const std::vector<double> samples = one_to(2000);
    EXPECT_EQ(percentile(samples, 50), 1000);
    EXPECT_EQ(percentile(samples, 99), 1980);
    EXPECT_EQ(percentile(samples, 100), 2000);
}

TEST(PercentileTest, SmallSetsRoundTheRankUp) {
    EXPECT_EQ(percentile({7}, 50), 7);
    EXPECT_EQ(percentile({7}, 99), 7);
    EXPECT_EQ(percentile(one_to(3), 50), 2);
    EXPECT_EQ(percentile(one_to(10), 99), 10);
    EXPECT_EQ(percentile(one_to(10), 10), 1);
}

TEST(PercentileTest, RefusesNoSamplesAndPercentagesOutOfRange) {
    EXPECT_THROW(percentile({}, 50), std::invalid_argument);
    EXPECT_THROW(percentile({1, 2}, 0), std::invalid_argument);
    EXPECT_THROW(percentile({1, 2}, 101), std::invalid_argument);
}

}  // namespace
}  // namespace bench
