#pragma once

#include <optional>
#include <string>
#include <vector>

namespace bench {

// What a figure must reach.
struct Goal {
    enum class Kind {
        // value >= limit x baseline
        AtLeastTimesBaseline,
        // value <= limit x baseline
        AtMostTimesBaseline,
        // |value| <= limit, no baseline
        Within,
        // value >= limit, no baseline
        AtLeast,
    };
    Kind kind;
    double limit;
};

struct Row {
    std::string figure;
    std::string unit;
    double orvanta = 0;
    std::optional<double> baseline;
    std::optional<Goal> goal;
    // Digits after the point for the values.
    int decimals = 0;
};

// Whether the row meets its goal; nullopt when it has none (or lacks the
// baseline its goal needs).
std::optional<bool> meets(const Row& row);

// The rows as one table: figure, unit, Orvanta, baseline, ratio, goal and
// result, in aligned columns, with a heading and a rule.
std::string format_table(const std::vector<Row>& rows);

}  // namespace bench
