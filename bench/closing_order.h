#pragma once

#include <array>
#include <chrono>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "orvanta_under_test.h"
#include "table.h"

namespace bench {

// One message as Orvanta's received-messages window shows it.
struct ShownMessage {
    std::string address;
    std::string text;

    bool operator==(const ShownMessage&) const = default;
};

// The messages in the window's text, in the order they were shown.
std::vector<ShownMessage> parse_shown_messages(std::string_view text);

struct ClosingOrder {
    int trials = 0;
    // Orvanta showed all four messages, each from its client's address, in
    // the order their connections closed.
    int in_order = 0;
    // Orvanta did not take the four connections, or did not show the four
    // messages, within two seconds.
    int incomplete = 0;
    // How often each order of the messages was seen: "1243" for 1, 2, 4, 3.
    std::map<std::string, int> orders;
};

struct ClosingOrderOptions {
    int trials = 200;
    // The order in which the clients close, and how long Orvanta serves
    // between two closes: none, for the figure.
    std::array<int, 4> order{1, 2, 3, 4};
    std::chrono::milliseconds pause{0};
};

// Each trial: four clients, from 127.0.0.1 to 127.0.0.4, connect and send
// "MESSAG" and their number; once Orvanta has taken the four connections,
// they close in the given order, and Orvanta's messages window shows the
// order in which it processed them. The window is emptied after each trial.
ClosingOrder run_closing_order(OrvantaUnderTest& orvanta, const ClosingOrderOptions& options);

// The trials in closing order, with the goal of 195 in 200.
std::vector<Row> closing_order_rows(OrvantaUnderTest& orvanta, int trials);

}  // namespace bench
