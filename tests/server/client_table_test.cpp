#include "server/client_table.h"

#include <gtest/gtest.h>

namespace {

TEST(ClientTableTest, RecordsEachAddressOnceInOrderOfFirstRequest) {
    server::ClientTable table;
    table.record("10.0.0.7");
    table.record("10.0.0.8");
    table.record("10.0.0.7");
    EXPECT_EQ(table.NUM_CLIENTS(), 2);
    EXPECT_EQ(table.CLIENT_IP_TABLE(0), "10.0.0.7");
    EXPECT_EQ(table.CLIENT_IP_TABLE(1), "10.0.0.8");
    EXPECT_EQ(table.CLIENT_IP_TABLE(2), "");
}

TEST(ClientTableTest, FiftySecondAddressIsNotRecorded) {
    server::ClientTable table;
    for (int i = 0; i < 52; ++i) {
        table.record("10.0.1." + std::to_string(i));
    }
    EXPECT_EQ(table.NUM_CLIENTS(), 51);
    EXPECT_EQ(table.CLIENT_IP_TABLE(50), "10.0.1.50");
    table.record("10.0.1.3");  // known addresses are still found
    EXPECT_EQ(table.NUM_CLIENTS(), 51);
    table.clear();
    EXPECT_EQ(table.NUM_CLIENTS(), 0);
    EXPECT_EQ(table.CLIENT_IP_TABLE(0), "");
}

}  // namespace
