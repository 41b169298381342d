#include "table.h"

#include <gtest/gtest.h>

#include <sstream>

namespace bench {
namespace {

Row row(double orvanta, std::optional<double> baseline, std::optional<Goal> goal) {
    return {"figure", "unit", orvanta, baseline, goal, 0};
}

TEST(MeetsTest, HigherIsBetterComparesWithTheScaledBaseline) {
    const Goal goal{Goal::Kind::AtLeastTimesBaseline, 0.7};
    EXPECT_EQ(meets(row(70, 100, goal)), true);
    EXPECT_EQ(meets(row(69.9, 100, goal)), false);
}

TEST(MeetsTest, LowerIsBetterComparesWithTheScaledBaseline) {
    const Goal goal{Goal::Kind::AtMostTimesBaseline, 1.5};
    EXPECT_EQ(meets(row(150, 100, goal)), true);
    EXPECT_EQ(meets(row(151, 100, goal)), false);
}

TEST(MeetsTest, AZeroBaselineAllowsOnlyZero) {
    // No share turned away by the baseline: Orvanta must turn none away either.
    const Goal goal{Goal::Kind::AtMostTimesBaseline, 1.0};
    EXPECT_EQ(meets(row(0, 0, goal)), true);
    EXPECT_EQ(meets(row(0.02, 0, goal)), false);
}

TEST(MeetsTest, WithinLimitsTheChangeEitherWayAndAtLeastAFloor) {
    const Goal goal{Goal::Kind::Within, 1024};
    EXPECT_EQ(meets(row(-1024, std::nullopt, goal)), true);
    EXPECT_EQ(meets(row(1025, std::nullopt, goal)), false);
    EXPECT_EQ(meets(row(-1, std::nullopt, Goal{Goal::Kind::Within, 0})), false);
    const Goal floor{Goal::Kind::AtLeast, 195};
    EXPECT_EQ(meets(row(195, std::nullopt, floor)), true);
    EXPECT_EQ(meets(row(194, std::nullopt, floor)), false);
}

TEST(MeetsTest, NoVerdictWithoutAGoalOrItsBaseline) {
    EXPECT_EQ(meets(row(1, 2, std::nullopt)), std::nullopt);
    EXPECT_EQ(meets(row(1, std::nullopt, Goal{Goal::Kind::AtLeastTimesBaseline, 0.7})),
              std::nullopt);
}

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

TEST(FormatTableTest, ColumnsLineUpWhateverTheWidths) {
    const std::string table = format_table({
        {"Throughput, 4 in flight", "req/s", 12345.4, 23456.6,
         Goal{Goal::Kind::AtLeastTimesBaseline, 0.7}, 0},
        {"p99", "us", 5, 4, Goal{Goal::Kind::AtMostTimesBaseline, 1.5}, 0},
    });
    const std::vector<std::string> lines = lines_of(table);
    ASSERT_EQ(lines.size(), 4u);
    // Right-aligned numbers end in the same column as their heading.
    const std::size_t orvanta_end = lines[0].find("Orvanta") + 7;
    EXPECT_EQ(lines[2].substr(orvanta_end - 6, 6), "12,345");
    EXPECT_EQ(lines[3].substr(orvanta_end - 1, 1), "5");
    const std::size_t goal_start = lines[0].find("Goal");
    EXPECT_EQ(lines[2].substr(goal_start, 20), ">= 0.70 x baseline  ");
    EXPECT_EQ(lines[3].substr(goal_start, 18), "<= 1.50 x baseline");
}

TEST(FormatTableTest, ShowsRatiosAndVerdicts) {
    const std::vector<std::string> lines = lines_of(format_table({
        {"a", "req/s", 600, 1000, Goal{Goal::Kind::AtLeastTimesBaseline, 0.7}, 0},
        {"b", "KiB", -2048, std::nullopt, Goal{Goal::Kind::Within, 1024}, 0},
        {"c", "%", 0, 0, Goal{Goal::Kind::AtMostTimesBaseline, 1.0}, 2},
        {"d", "trials", 12, std::nullopt, Goal{Goal::Kind::AtLeast, 195}, 0},
    }));
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_NE(lines[2].find("0.60"), std::string::npos);
    EXPECT_TRUE(lines[2].ends_with("MISSED"));
    EXPECT_NE(lines[3].find("-2,048"), std::string::npos);
    EXPECT_NE(lines[3].find("within 1,024 KiB"), std::string::npos);
    EXPECT_TRUE(lines[3].ends_with("MISSED"));
    // A zero baseline has no ratio, and nothing divides by it.
    std::istringstream words(lines[4]);
    std::vector<std::string> cells;
    for (std::string word; words >> word;) {
        cells.push_back(word);
    }
    EXPECT_EQ(cells, (std::vector<std::string>{"c", "%", "0.00", "0.00", "-", "<=", "1.00", "x",
                                               "baseline", "met"}));
    EXPECT_NE(lines[5].find("at least 195 trials"), std::string::npos);
    EXPECT_TRUE(lines[5].ends_with("MISSED"));
}

}  // namespace
}  // namespace bench
