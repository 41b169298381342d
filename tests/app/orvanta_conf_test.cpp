#include "app/orvanta_conf.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using app::ConfError;
using app::OrvantaConf;

TEST(OrvantaConfTest, KeysValuesCommentsAndBlanksAsAnOperatorWritesThem) {
    for (const char* text : {"", "\n\n", "# nothing yet\n", "navigator = simulated",
                             "  # the link\n\tnavigator\t=\tsimulated  \r\n\n",
                             "navigator=simulated\n# \xc3\xa9t\xc3\xa9 ok\n"}) {
        EXPECT_EQ(app::parse_orvanta_conf(text), app::ConfResult(OrvantaConf{})) << text;
    }
    // The lines of a real link may come in any order.
    OrvantaConf link;
    link.navigator = OrvantaConf::Navigator::NetworkManager;
    link.connection = "Sat uplink = 1";
    link.min_signal = 0;
    EXPECT_EQ(app::parse_orvanta_conf("min_signal = 0\nconnection =  Sat uplink = 1 \n"
                                      "navigator = networkmanager\n"),
              app::ConfResult(link));
    EXPECT_EQ(
        std::get<OrvantaConf>(app::parse_orvanta_conf("navigator = networkmanager\nconnection = x"))
            .min_signal,
        10);
    // The server's own keys go with either navigator.
    const auto server = std::get<OrvantaConf>(app::parse_orvanta_conf(
        "metrics = 127.0.0.1:9100\nclients = 127.0.0.1, 192.168.1.0/24,10.0.0.0/8\n"
        "listen_address = 192.168.1.5\n"));
    EXPECT_EQ(server.metrics, (util::Ipv4Endpoint{"127.0.0.1", 9100}));
    EXPECT_EQ(server.clients,
              (std::vector<util::Ipv4Block>{{0x7F000001, 32}, {0xC0A80100, 24}, {0x0A000000, 8}}));
    EXPECT_EQ(server.listen_address, "192.168.1.5");
}

TEST(OrvantaConfTest, EveryMistakeNamesItsLine) {
    const std::pair<const char*, ConfError> cases[] = {
        {"# ok\nnavigatr = simulated\n", {2, "unknown key \"navigatr\""}},
        {"navigator = simulated\n\nnavigator = simulated\n",
         {3, "key \"navigator\" given again (first on line 1)"}},
        {"navigator = nm\n",
         {1, "navigator cannot be \"nm\"; it can be \"simulated\" or \"networkmanager\""}},
        {"# x\nnavigator = networkmanager\n",
         {2, "navigator = networkmanager needs a \"connection = ...\" line"}},
        {"connection = Sat\nnavigator = simulated\n",
         {1, "\"connection\" goes only with navigator = networkmanager"}},
        {"\nmin_signal = 20\n", {2, "\"min_signal\" goes only with navigator = networkmanager"}},
        {"navigator = networkmanager\nconnection = Sat\nmin_signal = 101\n",
         {3, "min_signal must be a whole number from 0 to 100, not \"101\""}},
        {"navigator = networkmanager\nconnection = Sat\nmin_signal = -1\n",
         {3, "min_signal must be a whole number from 0 to 100, not \"-1\""}},
        {"navigator = networkmanager\nconnection =\n",
         {2, "connection needs a connection's id or UUID"}},
        {"\nnavigator simulated\n", {2, "expected \"key = value\", found \"navigator simulated\""}},
        {"= simulated\n", {1, "a value without a key"}},
        {"metrics = 9100\n",
         {1, "metrics must be an IPv4 address and a port, such as 127.0.0.1:9100, not \"9100\""}},
        {"clients = 10.0.0.1,\n",
         {1,
          "clients must be IPv4 addresses or blocks such as 192.168.1.0/24, separated by "
          "commas; \"\" is none"}},
        {"listen_address = 127.0.0.01\n",
         {1, "listen_address must be an IPv4 address, not \"127.0.0.01\""}},
        {"navigator = simulated # the link\n",
         {1,
          "navigator cannot be \"simulated # the link\"; it can be \"simulated\" or "
          "\"networkmanager\""}},
        {"navigator = simul\xe9ted\n", {0, "not UTF-8 text"}},
    };
    for (const auto& [text, error] : cases) {
        EXPECT_EQ(app::parse_orvanta_conf(text), app::ConfResult(error)) << text;
    }
}

}  // namespace
