// Start-up against real sockets on this machine.
#include <gtest/gtest.h>

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include "app/form1.h"
#include "app/settings_file.h"
#include "fakes/fake_services.h"
#include "platform/qt/qt_winsock.h"
#include "util/cp1252.h"

namespace {

// A free port in the range that the 16-bit settings can hold.
quint16 free_settings_port() {
    for (quint16 port = 20000 + static_cast<quint16>(QCoreApplication::applicationPid() % 9000);
         port < 32767; ++port) {
        QTcpServer probe;
        if (probe.listen(QHostAddress::Any, port)) {
            return port;
        }
    }
    return 0;
}

class StartupListenTest : public ::testing::Test {
  protected:
    void start(quint16 port) {
        app::Settings settings;
        settings.LISTEN_PORT = static_cast<std::int16_t>(port);
        settings.TRANSMIT_PORT = static_cast<std::int16_t>(port + 1);
        settings.DPC_HW_POLL_INTERVAL = 5;
        fake.files.put("/opt/orvanta/Orvanta.ini",
                       util::to_cp1252(app::format_settings(settings, "1/1/26")));
        form1 = std::make_unique<app::Form1>(fake.services({.network = &network}));
        form1->Form_Load();
    }

    fakes::FakeServices fake;
    platform::qt::QtNetwork network;
    std::unique_ptr<app::Form1> form1;
};

TEST_F(StartupListenTest, ListensOnTheStoredPort) {
    const quint16 port = free_settings_port();
    ASSERT_NE(port, 0);
    start(port);
    EXPECT_TRUE(form1->DPC_HW_POLL().enabled());
    EXPECT_EQ(form1->listeners().WS_LISTENER(0).State(), platform::Winsock::sckListening);

    QTcpSocket client;
    client.connectToHost(QHostAddress::LocalHost, port);
    EXPECT_TRUE(client.waitForConnected(3000));
}

TEST_F(StartupListenTest, PortTakenByAnotherProgramEndsStartUp) {
    QTcpServer other;
    const quint16 port = free_settings_port();
    ASSERT_TRUE(other.listen(QHostAddress::LocalHost, port));
    start(port);
    EXPECT_FALSE(form1->DPC_HW_POLL().enabled());
    EXPECT_EQ(form1->listeners().UBound(), 0);
    EXPECT_EQ(form1->window().STATUS_LIST.item(2),
              "     Error connecting to port: " + std::to_string(port));
    EXPECT_EQ(fake.tray.tooltip, "Orvanta... server could not be started");
    EXPECT_TRUE(fake.tray.attention);
}

}  // namespace
