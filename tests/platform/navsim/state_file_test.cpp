#include "platform/navsim/state_file.h"

#include <gtest/gtest.h>

namespace platform::navsim {
namespace {

// Distinct from the defaults, so a kept value is told apart from a reset.
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

}  // namespace
}  // namespace platform::navsim
