#include "platform/nm/network_manager_navigator.h"

#include <gtest/gtest.h>

#include <QDBusObjectPath>
#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "fakes/fake_console.h"
#include "platform/failure.h"
#include "platform/nm/mock_network.h"
#include "support/scoped_variable.h"

namespace {

using namespace std::chrono_literals;
using platform::nm::LinkChoice;
using platform::nm::NetworkManagerNavigator;

// NetworkManager's device states.
constexpr std::uint32_t unavailable = 20;
constexpr std::uint32_t disconnected = 30;
// Its active connection states.
constexpr std::uint32_t activating = 1;
constexpr std::uint32_t activated = 2;
constexpr std::uint32_t deactivating = 3;

const QString active_interface = "org.freedesktop.NetworkManager.Connection.Active";
const QString device_interface = "org.freedesktop.NetworkManager.Device";
const QString modem = "/org/freedesktop/ModemManager1/Modem/1";

using Reading = std::pair<int, int>;  // signal, connection

class NetworkManagerNavigatorTest : public testing::Test {
  protected:
    // A navigator on a bus connection of its own; the first is `navigator`.
    NetworkManagerNavigator& start(const std::string& connection, int min_signal = 10) {
        navigators.push_back(std::make_unique<NetworkManagerNavigator>(
            LinkChoice{connection, min_signal}, console, network.connect_client()));
        navigator = navigators.front().get();
        return *navigators.back();
    }

    // Both reads, or nothing while they fail.
    static std::optional<Reading> read(NetworkManagerNavigator& navigator) {
        try {
            return Reading{navigator.SignalStatus(), navigator.ConnectionStatus()};
        } catch (const platform::Failure&) {
            return std::nullopt;
        }
    }
    bool shows(Reading expected, std::chrono::milliseconds patience = 3s,
               NetworkManagerNavigator* which = nullptr) {
        return nm_test::run_until([&] { return read(which ? *which : *navigator) == expected; },
                                  patience);
    }
    // What a start-up throws, or nothing.
    template <typename Start>
    static std::string failure_of(Start start) {
        try {
            start();
        } catch (const platform::Failure& failure) {
            return failure.what();
        }
        return {};
    }
    bool console_has(std::size_t lines) {
        return nm_test::run_until([&] { return console.lines.size() >= lines; });
    }

    nm_test::MockNetwork network;
    fakes::FakeConsole console;
    std::vector<std::unique_ptr<NetworkManagerNavigator>> navigators;
    NetworkManagerNavigator* navigator = nullptr;
};

TEST_F(NetworkManagerNavigatorTest, ConnectionStatusFollowsTheActiveConnectionsState) {
    const QString eth = network.add_ethernet("eth0", "eth0", disconnected);
    const QString sat = network.add_connection("sat", "802-3-ethernet", {}, {},
                                               "0b5a5a4e-8d1c-4c5e-9b1e-2f6f3c7d9a10");
    // Found by its UUID as well as by its id.
    start("0b5a5a4e-8d1c-4c5e-9b1e-2f6f3c7d9a10");
    EXPECT_EQ(read(*navigator), Reading(1, 2));

    const QString active = network.add_active(sat, {eth}, activating);
    EXPECT_TRUE(shows({1, 3}));
    // The mirror follows NetworkManager's signal without asking it again.
    network.set(active, active_interface, "State", activated);
    EXPECT_TRUE(shows({1, 1}, 100ms));
    network.set(active, active_interface, "State", deactivating);
    EXPECT_TRUE(shows({1, 2}));
}

TEST_F(NetworkManagerNavigatorTest, SignalNeedsTheDeviceTheConnectionWouldUse) {
    const QString eth0 = network.add_ethernet("eth0", "eth0", disconnected);
    network.add_ethernet("eth1", "eth1", unavailable);
    const QString bound = network.add_connection("bound", "802-3-ethernet", "eth1");
    network.add_connection("loose", "802-3-ethernet");
    network.add_connection("mobile", "gsm");
    start("bound");
    NetworkManagerNavigator& loose = start("loose");
    NetworkManagerNavigator& mobile = start("mobile");

    // The interface the connection names, not the first device of its type.
    EXPECT_EQ(read(*navigator), Reading(3, 2));
    EXPECT_EQ(read(loose), Reading(1, 2));
    // No modem at all.
    EXPECT_EQ(read(mobile), Reading(3, 2));

    // The profile edited to name the other interface.
    network.update_connection(bound, {{"connection", {{"interface-name", "eth0"}}}});
    EXPECT_TRUE(shows({1, 2}));
    network.set(eth0, device_interface, "State", unavailable);
    EXPECT_TRUE(shows({3, 2}, 3s, &loose));
}

TEST_F(NetworkManagerNavigatorTest, WifiSignalIsTheAccessPointInUseElseTheStrongestOfTheSsid) {
    const QString wlan = network.add_wifi("wlan0", "wlan0", disconnected);
    const QString strongest = network.add_access_point(wlan, "ap1", "uplink", 50);
    network.add_access_point(wlan, "ap2", "neighbour", 90);
    const QString weak = network.add_access_point(wlan, "ap3", "uplink", 20);
    network.add_connection("uplink", "802-11-wireless", {}, "uplink");
    start("uplink", 40);
    EXPECT_EQ(read(*navigator), Reading(1, 2));

    // A strong access point of another network does not count.
    network.set(strongest, "org.freedesktop.NetworkManager.AccessPoint", "Strength",
                QVariant::fromValue(std::uint8_t{39}));
    EXPECT_TRUE(shows({3, 2}));
    network.add_access_point(wlan, "ap4", "uplink", 40);
    EXPECT_TRUE(shows({1, 2}));
    network.set(wlan, "org.freedesktop.NetworkManager.Device.Wireless", "ActiveAccessPoint",
                QVariant::fromValue(QDBusObjectPath(weak)));
    EXPECT_TRUE(shows({3, 2}));
}

TEST_F(NetworkManagerNavigatorTest, ReadsNeverWaitOnNetworkManager) {
    const QString wlan = network.add_wifi("wlan0", "wlan0", disconnected);
    const QString weak = network.add_access_point(wlan, "ap1", "uplink", 50);
    network.add_connection("uplink", "802-11-wireless", {}, "uplink");
    start("uplink", 40);

    // An access point appears, and NetworkManager stops answering before the
    // navigator has asked about it.
    network.add_access_point(wlan, "ap2", "uplink", 90);
    network.pause_network_manager(true);
    int wrong = 0;
    const auto begun = std::chrono::steady_clock::now();
    nm_test::run_until(
        [&] {
            wrong += read(*navigator) == Reading(1, 2) ? 0 : 1;
            return false;
        },
        300ms);
    EXPECT_LT(std::chrono::steady_clock::now() - begun, 1s);
    EXPECT_EQ(wrong, 0);

    network.pause_network_manager(false);
    network.set(weak, "org.freedesktop.NetworkManager.AccessPoint", "Strength",
                QVariant::fromValue(std::uint8_t{10}));
    // The new access point was read once NetworkManager answered again.
    EXPECT_FALSE(shows({3, 2}, 300ms));
}

TEST_F(NetworkManagerNavigatorTest, ModemSignalIsModemManagersQualityOfItsModem) {
    network.add_modem("/org/freedesktop/ModemManager1/Modem/0", 5);
    network.add_modem_device("ttyUSB0", "ttyUSB0", disconnected, modem);
    network.add_connection("sat", "gsm");
    start("sat", 40);
    network.add_modem(modem, 60);
    EXPECT_TRUE(shows({1, 2}));

    network.set_quality(modem, 39);
    EXPECT_TRUE(shows({3, 2}));
    network.set_quality(modem, 40);
    EXPECT_TRUE(shows({1, 2}));

    // Without ModemManager nobody knows the signal; it comes back with it.
    network.stop_modem_manager();
    EXPECT_TRUE(shows({3, 2}));
    network.start_modem_manager();
    network.add_modem(modem, 70);
    EXPECT_TRUE(shows({1, 2}));
    ASSERT_TRUE(console_has(2));
    EXPECT_EQ(console.lines,
              (std::vector<std::string>{
                  "ModemManager left the system bus: a modem shows no signal until it is back",
                  "ModemManager is back on the system bus"}));
}

TEST_F(NetworkManagerNavigatorTest, DialAndHangUpReachNetworkManager) {
    const QString eth = network.add_ethernet("eth0", "eth0", disconnected);
    const QString sat = network.add_connection("sat", "802-3-ethernet");
    start("sat");

    navigator->Dial();
    ASSERT_TRUE(
        nm_test::run_until([&] { return network.calls("ActivateConnection").size() == 1; }));
    const QVariantList activate = network.calls("ActivateConnection").front();
    ASSERT_EQ(activate.size(), 3);
    EXPECT_EQ(activate[0].value<QDBusObjectPath>().path(), sat);
    EXPECT_EQ(activate[1].value<QDBusObjectPath>().path(), "/");
    EXPECT_EQ(activate[2].value<QDBusObjectPath>().path(), "/");
    // dbusmock's NetworkManager activates at once.
    EXPECT_TRUE(shows({1, 1}));

    navigator->HangUp();
    EXPECT_TRUE(shows({1, 2}));
    const QList<QVariantList> deactivate = network.calls("DeactivateConnection");
    ASSERT_EQ(deactivate.size(), 1);
    EXPECT_EQ(deactivate.front().value(0).value<QDBusObjectPath>().path(),
              "/org/freedesktop/NetworkManager/ActiveConnection/0");
    EXPECT_TRUE(console.lines.empty());
}

TEST_F(NetworkManagerNavigatorTest, RefusalsAreToldOnceOnTheConsole) {
    const QString eth = network.add_ethernet("eth0", "eth0", disconnected);
    const QString sat = network.add_connection("sat", "802-3-ethernet");
    network.refuse("ActivateConnection", "org.freedesktop.NetworkManager.PermissionDenied",
                   "Not authorized to control networking.");
    network.refuse("DeactivateConnection", "org.freedesktop.NetworkManager.ConnectionNotActive",
                   "The connection was not active.");
    start("sat");

    navigator->Dial();
    ASSERT_TRUE(console_has(1));
    // Auto-redial dials again at every poll; the operator reads it once.
    navigator->Dial();
    ASSERT_TRUE(
        nm_test::run_until([&] { return network.calls("ActivateConnection").size() == 2; }));
    network.add_active(sat, {eth}, activated);
    ASSERT_TRUE(shows({1, 1}));
    navigator->HangUp();
    ASSERT_TRUE(console_has(2));
    EXPECT_EQ(console.lines,
              (std::vector<std::string>{"NetworkManager refused to dial the connection 'sat': "
                                        "org.freedesktop.NetworkManager.PermissionDenied: "
                                        "Not authorized to control networking.",
                                        "NetworkManager refused to hang up the connection 'sat': "
                                        "org.freedesktop.NetworkManager.ConnectionNotActive: "
                                        "The connection was not active."}));
}

TEST_F(NetworkManagerNavigatorTest, NetworkManagerLeavingAndComingBack) {
    const QString eth = network.add_ethernet("eth0", "eth0", disconnected);
    network.add_active(network.add_connection("sat", "802-3-ethernet"), {eth}, activated);
    start("sat");
    EXPECT_EQ(read(*navigator), Reading(1, 1));

    network.stop_network_manager();
    ASSERT_TRUE(nm_test::run_until([&] { return !read(*navigator); }));
    EXPECT_THROW(navigator->Dial(), platform::Failure);
    EXPECT_THROW(navigator->HangUp(), platform::Failure);

    // A restarted NetworkManager, found on its own without restarting us; at
    // first without the connection, so there is nothing to watch or dial.
    network.start_network_manager();
    network.add_ethernet("eth0", "eth0", disconnected);
    EXPECT_TRUE(shows({3, 2}));
    EXPECT_THROW(navigator->Dial(), platform::Failure);
    const QString sat = network.add_connection("sat", "802-3-ethernet");
    EXPECT_TRUE(shows({1, 2}));
    // Told again when it goes once more.
    network.delete_connection(sat);
    EXPECT_TRUE(shows({3, 2}));
    EXPECT_EQ(console.lines,
              (std::vector<std::string>{"NetworkManager left the system bus: the state of the "
                                        "connection 'sat' is unknown until it is back",
                                        "NetworkManager is back on the system bus",
                                        "NetworkManager no longer knows the connection 'sat'",
                                        "NetworkManager no longer knows the connection 'sat'"}));
}

TEST_F(NetworkManagerNavigatorTest, StartUpFailsForAnUnknownConnectionOrNoNetworkManager) {
    network.add_connection("other", "802-3-ethernet");
    // The program's own way to the bus: the system bus, which the
    // environment points at the private one.
    const test_support::ScopedVariable system_bus("DBUS_SYSTEM_BUS_ADDRESS",
                                                  network.address().toStdString());
    EXPECT_EQ(failure_of([&] {
                  NetworkManagerNavigator unknown(LinkChoice{"sat", 10}, console);
              }),
              "NetworkManager does not know the connection 'sat' "
              "(`nmcli connection show` lists the ones it knows)");
    network.stop_network_manager();
    EXPECT_TRUE(failure_of([&] { start("other"); })
                    .starts_with("NetworkManager is not on the system bus, so the "
                                 "connection 'other' cannot be watched ("));
    EXPECT_TRUE(console.lines.empty());
}

}  // namespace
