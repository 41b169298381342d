#include "info/version_label.h"

#include <gtest/gtest.h>

namespace {

TEST(VersionLabelTest, PointOnlyBetweenMajorAndMinor) {
    EXPECT_EQ(info::version_caption({1, 0, 0}), "v1.00");
    EXPECT_EQ(info::version_caption({1, 2, 15}), "v1.215");
    EXPECT_EQ(info::version_caption({10, 0, 3}), "v10.03");
}

}  // namespace
