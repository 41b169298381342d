#include "table.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <sstream>

namespace bench {

namespace {

constexpr std::size_t columns = 7;
using Line = std::array<std::string, columns>;

// Digits with thousands separators: 12,345.6
std::string number(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, std::fabs(value));
    std::string digits = text;
    const std::size_t point = std::min(digits.find('.'), digits.size());
    for (std::size_t at = point; at > 3; at -= 3) {
        // One character, not the text ",": GCC 12 at -O3 takes inserting
        // text for overlapping copies (-Wrestrict).
        digits.insert(at - 3, 1, ',');
    }
    // No "-0" for a value that rounds to zero.
    const bool negative = value < 0 && digits.find_first_not_of("0.,") != std::string::npos;
    return negative ? "-" + digits : digits;
}

std::string goal_text(const Goal& goal, const std::string& unit) {
    char limit[32];
    switch (goal.kind) {
        case Goal::Kind::AtLeastTimesBaseline:
            std::snprintf(limit, sizeof limit, "%.2f", goal.limit);
            return std::string(">= ") + limit + " x baseline";
        case Goal::Kind::AtMostTimesBaseline:
            std::snprintf(limit, sizeof limit, "%.2f", goal.limit);
            return std::string("<= ") + limit + " x baseline";
        case Goal::Kind::Within:
            return "within " + number(goal.limit, 0) + " " + unit;
        case Goal::Kind::AtLeast:
            return "at least " + number(goal.limit, 0) + " " + unit;
    }
    return {};
}

Line cells(const Row& row) {
    const std::optional<bool> result = meets(row);
    std::string ratio = "-";
    if (row.baseline && *row.baseline != 0) {
        ratio = number(row.orvanta / *row.baseline, 2);
    }
    return {row.figure,
            row.unit,
            number(row.orvanta, row.decimals),
            row.baseline ? number(*row.baseline, row.decimals) : "-",
            ratio,
            row.goal ? goal_text(*row.goal, row.unit) : "-",
            result ? (*result ? "met" : "MISSED") : "-"};
}

}  // namespace

std::optional<bool> meets(const Row& row) {
    if (!row.goal) {
        return std::nullopt;
    }
    switch (row.goal->kind) {
        case Goal::Kind::AtLeastTimesBaseline:
            if (!row.baseline) {
                return std::nullopt;
            }
            return row.orvanta >= row.goal->limit * *row.baseline;
        case Goal::Kind::AtMostTimesBaseline:
            if (!row.baseline) {
                return std::nullopt;
            }
            return row.orvanta <= row.goal->limit * *row.baseline;
        case Goal::Kind::Within:
            return std::fabs(row.orvanta) <= row.goal->limit;
        case Goal::Kind::AtLeast:
            return row.orvanta >= row.goal->limit;
    }
    return std::nullopt;
}

std::string format_table(const std::vector<Row>& rows) {
    std::vector<Line> lines{{"Figure", "Unit", "Orvanta", "Baseline", "Ratio", "Goal", "Result"}};
    for (const Row& row : rows) {
        lines.push_back(cells(row));
    }
    std::array<std::size_t, columns> width{};
    for (const Line& line : lines) {
        for (std::size_t c = 0; c < columns; ++c) {
            width[c] = std::max(width[c], line[c].size());
        }
    }
    // Words to the left, numbers to the right.
    constexpr std::array<bool, columns> right{false, false, true, true, true, false, false};
    std::ostringstream out;
    const auto print = [&](const Line& line) {
        std::string text;
        for (std::size_t c = 0; c < columns; ++c) {
            const std::string padding(width[c] - line[c].size(), ' ');
            text += right[c] ? padding + line[c] : line[c] + padding;
            text += c + 1 < columns ? "  " : "";
        }
        text.erase(text.find_last_not_of(' ') + 1);
        out << text << '\n';
    };
    print(lines.front());
    std::size_t total = 2 * (columns - 1);
    for (const std::size_t w : width) {
        total += w;
    }
    out << std::string(total, '-') << '\n';
    for (std::size_t i = 1; i < lines.size(); ++i) {
        print(lines[i]);
    }
    return out.str();
}

}  // namespace bench
