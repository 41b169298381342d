#include "util/ipv4.h"

#include <gtest/gtest.h>

namespace {

TEST(Ipv4Test, OnlyPlainDottedDecimalIsAnAddress) {
    EXPECT_EQ(util::parse_ipv4("127.0.0.1"), 0x7F000001U);
    EXPECT_EQ(util::parse_ipv4("255.255.255.255"), 0xFFFFFFFFU);
    EXPECT_EQ(util::parse_ipv4("0.0.0.0"), 0U);
    for (const char* text : {"", "1.2.3", "1.2.3.4.5", "256.1.1.1", "01.2.3.4", "1.2.3.4 ",
                             "+1.2.3.4", "1..2.3", "1.2.3.", "::1", "a.b.c.d", "1.2.3.4/8"}) {
        EXPECT_EQ(util::parse_ipv4(text), std::nullopt) << text;
    }
}

TEST(Ipv4Test, BlocksContainTheirAddressesAndEndpointsHaveAPort) {
    const auto block = util::parse_ipv4_block("192.168.1.77/24");
    ASSERT_TRUE(block);
    EXPECT_TRUE(block->contains(*util::parse_ipv4("192.168.1.1")));
    EXPECT_TRUE(block->contains(*util::parse_ipv4("192.168.1.255")));
    EXPECT_FALSE(block->contains(*util::parse_ipv4("192.168.2.1")));
    EXPECT_TRUE(util::parse_ipv4_block("0.0.0.0/0")->contains(0xDEADBEEF));
    EXPECT_FALSE(util::parse_ipv4_block("127.0.0.1")->contains(*util::parse_ipv4("127.0.0.2")));
    for (const char* text : {"1.2.3.4/33", "1.2.3.4/", "1.2.3.4/08", "1.2.3/8"}) {
        EXPECT_EQ(util::parse_ipv4_block(text), std::nullopt) << text;
    }
    EXPECT_EQ(util::parse_ipv4_endpoint("127.0.0.1:9100"), (util::Ipv4Endpoint{"127.0.0.1", 9100}));
    for (const char* text : {"127.0.0.1", "127.0.0.1:0", "127.0.0.1:65536", ":9100", "x:9100"}) {
        EXPECT_EQ(util::parse_ipv4_endpoint(text), std::nullopt) << text;
    }
}

}  // namespace
