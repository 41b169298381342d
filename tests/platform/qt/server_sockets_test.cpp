// The server as clients meet it: the main window started in full, with real
// sockets on this machine and doubles for everything else. Every connection
// goes to 127.0.0.1; the fake closer timer runs only when a test fires it.
#include <arpa/inet.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <QHostAddress>
#include <QRandomGenerator>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/form1.h"
#include "app/settings_file.h"
#include "fakes/fake_services.h"
#include "platform/qt/qt_winsock.h"
#include "util/cp1252.h"

namespace {

using platform::Winsock;

constexpr int patience_ms = 3000;
constexpr const char* notice = "MAXIMUM CONCURRENT SESSIONS REACHED - TERMINATING SESSION.\r\n";
// The first poll reads the fake navigator's defaults (signal 1, connection
// 2), and nobody has dialled yet.
constexpr const char* first_status_reply = "STATUS-DISCSIGOKna";

template <typename Condition>
bool wait_for(Condition condition, int milliseconds = patience_ms) {
    return QTest::qWaitFor(condition, milliseconds);
}

// A free port in the range that the 16-bit settings hold, other than those
// already picked.
quint16 free_settings_port(std::initializer_list<quint16> picked = {}) {
    const auto first = static_cast<int>(QRandomGenerator::global()->bounded(12000));
    for (int step = 0; step < 12000; step += 7) {
        const auto port = static_cast<quint16>(20000 + (first + step) % 12000);
        if (std::find(picked.begin(), picked.end(), port) != picked.end()) {
            continue;
        }
        QTcpServer probe;
        if (probe.listen(QHostAddress::Any, port)) {
            return port;
        }
    }
    return 0;
}

// A client program on Qt: connects to the server and keeps all it receives.
class Client {
  public:
    explicit Client(quint16 port) {
        QObject::connect(&socket, &QTcpSocket::readyRead, &socket,
                         [this] { received += socket.readAll(); });
        socket.connectToHost(QHostAddress::LocalHost, port);
    }

    bool connected() {
        return wait_for([this] { return socket.state() == QAbstractSocket::ConnectedState; });
    }
    void send(const QByteArray& bytes) {
        socket.write(bytes);
        socket.flush();
    }
    bool ended() {
        const bool done =
            wait_for([this] { return socket.state() == QAbstractSocket::UnconnectedState; });
        received += socket.readAll();
        return done;
    }

    QTcpSocket socket;
    QByteArray received;
};

// A client on a plain socket: it connects and sends without the event loop,
// so a test can have bytes waiting before the server has seen the
// connection, and it can tell a reset from an orderly end.
class RawClient {
  public:
    explicit RawClient(quint16 port) : fd_(::socket(AF_INET, SOCK_STREAM, 0)) {
        const timeval limit{patience_ms / 1000, 0};
        ::setsockopt(fd_, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(port);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        connected_ =
            ::connect(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    }
    RawClient(const RawClient&) = delete;
    RawClient& operator=(const RawClient&) = delete;
    ~RawClient() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }

    bool connected() const { return connected_; }
    bool send(std::string_view bytes) {
        return ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL) ==
               static_cast<ssize_t>(bytes.size());
    }
    void close() { ::close(std::exchange(fd_, -1)); }
    // Ends the connection with a reset instead of a goodbye.
    void reset() {
        const linger abrupt{1, 0};
        ::setsockopt(fd_, SOL_SOCKET, SO_LINGER, &abrupt, sizeof abrupt);
        close();
    }

    // Reads until the server ends the connection.
    bool ended() {
        return wait_for([this] {
            char buffer[4096];
            for (int reads = 0; reads < 64; ++reads) {
                const ssize_t count = ::recv(fd_, buffer, sizeof buffer, MSG_DONTWAIT);
                if (count > 0) {
                    received.append(buffer, static_cast<std::size_t>(count));
                } else if (count == 0) {
                    return true;
                } else {
                    was_reset = errno == ECONNRESET;
                    return was_reset;
                }
            }
            return false;
        });
    }

    std::string received;
    bool was_reset = false;

  private:
    int fd_;
    bool connected_ = false;
};

// The client's own listening port, where the server delivers its replies.
class ReplyPort {
  public:
    struct Delivery {
        QByteArray data;
        bool closed = false;
    };

    explicit ReplyPort(quint16 port) {
        listening = server.listen(QHostAddress::LocalHost, port);
        QObject::connect(&server, &QTcpServer::newConnection, &server, [this] {
            while (QTcpSocket* socket = server.nextPendingConnection()) {
                deliveries.push_back(std::make_unique<Delivery>());
                Delivery* delivery = deliveries.back().get();
                QObject::connect(socket, &QTcpSocket::readyRead, socket,
                                 [socket, delivery] { delivery->data += socket->readAll(); });
                QObject::connect(socket, &QTcpSocket::disconnected, socket, [socket, delivery] {
                    delivery->data += socket->readAll();
                    delivery->closed = true;
                });
            }
        });
    }

    // Waits for the first delivery to end.
    bool delivered() {
        return wait_for([this] { return !deliveries.empty() && deliveries.front()->closed; });
    }
    QByteArray first() const { return deliveries.empty() ? QByteArray() : deliveries[0]->data; }

    QTcpServer server;
    bool listening = false;
    std::vector<std::unique_ptr<Delivery>> deliveries;
};

class ServerSocketsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        listen_port = free_settings_port();
        transmit_port = free_settings_port({listen_port});
        ASSERT_NE(listen_port, 0);
        ASSERT_NE(transmit_port, 0);

        app::Settings settings;
        settings.LISTEN_PORT = static_cast<std::int16_t>(listen_port);
        settings.TRANSMIT_PORT = static_cast<std::int16_t>(transmit_port);
        settings.DPC_HW_POLL_INTERVAL = 5;
        fake.files.put("/opt/orvanta/Orvanta.ini",
                       util::to_cp1252(app::format_settings(settings, "1/1/26")));
        form1 = std::make_unique<app::Form1>(fake.services({.network = &network}));
        form1->Form_Load();
        ASSERT_EQ(element(0).State(), Winsock::sckListening);
        ASSERT_EQ(form1->listeners().UBound(), 10);
        ASSERT_EQ(form1->DPC_STATUS_CODE(), "STATUS-DISCSIGOK");
        ASSERT_EQ(closer_timer().interval(), 250);
        start_lines = log().count();
    }

    Winsock& element(int index) { return form1->listeners().WS_LISTENER(index); }
    fakes::FakeTimer& closer_timer() { return *fake.timers.timers.at(1); }
    platform::ListBox& log() { return form1->window().STATUS_LIST; }
    // The whole log, for failure messages.
    std::string log_text() {
        std::string text;
        for (const std::string& line : log().items()) {
            text += line + "\n";
        }
        return text;
    }
    long log_count(const std::string& line) {
        return std::count(log().items().begin(), log().items().end(), line);
    }
    // A client sends the whole text and closes.
    void request(const QByteArray& text) {
        Client client(listen_port);
        ASSERT_TRUE(client.connected());
        client.send(text);
        client.socket.disconnectFromHost();
        ASSERT_TRUE(client.ended());
    }

    quint16 listen_port = 0;
    quint16 transmit_port = 0;
    int start_lines = 0;
    fakes::FakeServices fake;
    platform::qt::QtNetwork network;
    std::unique_ptr<app::Form1> form1;
};

// --- The session limit ------------------------------------------------------

TEST_F(ServerSocketsTest, TenthClientGetsTheNoticeAndIsClosedWhileNineStay) {
    std::vector<std::unique_ptr<Client>> nine;
    for (int i = 0; i < 9; ++i) {
        nine.push_back(std::make_unique<Client>(listen_port));
    }
    ASSERT_TRUE(wait_for([&] {
        for (int i = 1; i <= 9; ++i) {
            if (element(i).State() != Winsock::sckConnected) {
                return false;
            }
        }
        return true;
    }));

    Client tenth(listen_port);
    ASSERT_TRUE(tenth.ended()) << "the server closes the connection";
    EXPECT_EQ(tenth.received, notice);
    EXPECT_EQ(log().item(2), "     Cant accept any more connections!");
    EXPECT_EQ(log().item(3), "     (IP:127.0.0.1)");
    EXPECT_EQ(element(10).State(), Winsock::sckClosed);

    QTest::qWait(100);
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(nine[i]->socket.state(), QAbstractSocket::ConnectedState) << "client " << i + 1;
        EXPECT_TRUE(nine[i]->received.isEmpty());
        EXPECT_EQ(element(i + 1).State(), Winsock::sckConnected) << "element " << i + 1;
    }
    EXPECT_EQ(form1->clients().NUM_CLIENTS(), 0);
}

TEST_F(ServerSocketsTest, TenthClientThatHasSentDataStillGetsTheWholeNotice) {
    std::vector<std::unique_ptr<RawClient>> nine;
    for (int i = 0; i < 9; ++i) {
        nine.push_back(std::make_unique<RawClient>(listen_port));
        ASSERT_TRUE(nine.back()->connected());
    }
    ASSERT_TRUE(wait_for([&] { return element(9).State() == Winsock::sckConnected; }));

    // Connected and sent in full before the server turns to it: its input is
    // unread when the server closes.
    RawClient tenth(listen_port);
    ASSERT_TRUE(tenth.connected());
    ASSERT_TRUE(tenth.send("STATUS" + std::string(20000, 'x')));
    ASSERT_TRUE(tenth.ended());
    EXPECT_FALSE(tenth.was_reset);
    EXPECT_EQ(tenth.received, notice);
    EXPECT_EQ(log().item(2), "     Cant accept any more connections!");
    EXPECT_EQ(form1->clients().NUM_CLIENTS(), 0) << "its text is never processed";
}

// --- Requests ---------------------------------------------------------------

TEST_F(ServerSocketsTest, RequestInPiecesIsProcessedOnceJoined) {
    ReplyPort replies(transmit_port);
    ASSERT_TRUE(replies.listening);
    Client client(listen_port);
    ASSERT_TRUE(client.connected());
    ASSERT_TRUE(wait_for([&] { return element(1).State() == Winsock::sckConnected; }));
    std::string joined;
    for (const char* piece : {"ST", "AT", "US"}) {
        client.send(piece);
        joined += piece;
        ASSERT_TRUE(wait_for([&] { return form1->listeners().WS_LISTENER_SCKDATA(1) == joined; }));
        QTest::qWait(30);
    }
    EXPECT_EQ(log().count(), start_lines) << "nothing processed before the close";
    client.socket.disconnectFromHost();

    ASSERT_TRUE(replies.delivered()) << log_text();
    EXPECT_EQ(replies.first(), first_status_reply);
    QTest::qWait(100);
    EXPECT_EQ(replies.deliveries.size(), 1U);
    EXPECT_EQ(log_count("     Status report was requested"), 1);
    EXPECT_EQ(log_count("     Sending data to a client"), 1);
    EXPECT_EQ(form1->clients().NUM_CLIENTS(), 1);
    EXPECT_EQ(element(1).State(), Winsock::sckClosed);
    EXPECT_EQ(form1->listeners().WS_LISTENER_SCKDATA(1), "");
}

TEST_F(ServerSocketsTest, ConnectAndCloseCountsTheClientWithoutALogBlock) {
    request({});
    ASSERT_TRUE(wait_for([&] { return form1->clients().NUM_CLIENTS() == 1; }));
    EXPECT_EQ(form1->clients().CLIENT_IP_TABLE(0), "127.0.0.1");
    EXPECT_EQ(form1->window().NUM_CLIENTS_LABEL.caption(), " 1");
    EXPECT_EQ(log().count(), start_lines);
    EXPECT_EQ(element(1).State(), Winsock::sckClosed);
}

TEST_F(ServerSocketsTest, StatusIsAnsweredOnTheTransmitPortAndThatConnectionClosed) {
    ReplyPort replies(transmit_port);
    ASSERT_TRUE(replies.listening);
    request("STATUS");
    ASSERT_TRUE(replies.delivered()) << log_text();
    EXPECT_EQ(replies.first(), first_status_reply);
    EXPECT_EQ(log().item(2), "     Sending data to a client");
    EXPECT_EQ(log().item(3), "     (IP:127.0.0.1)");
    EXPECT_EQ(log().item(6), "     Status report was requested");
    EXPECT_EQ(form1->WS_TALKER().State(), Winsock::sckClosed);
}

TEST_F(ServerSocketsTest, DataSentWithTheCloseIsProcessed) {
    ReplyPort replies(transmit_port);
    ASSERT_TRUE(replies.listening);
    {
        // Write and close in one turn, once the server has the session.
        Client client(listen_port);
        ASSERT_TRUE(client.connected());
        ASSERT_TRUE(wait_for([&] { return element(1).State() == Winsock::sckConnected; }));
        client.socket.write("STATUS");
        client.socket.disconnectFromHost();
        ASSERT_TRUE(replies.delivered()) << log_text();
        EXPECT_EQ(replies.first(), first_status_reply);
    }
    {
        // Sent and closed before the server has even seen the connection.
        RawClient client(listen_port);
        ASSERT_TRUE(client.connected());
        ASSERT_TRUE(client.send("STATUS"));
        client.close();
        ASSERT_TRUE(wait_for([&] { return replies.deliveries.size() == 2; }));
        ASSERT_TRUE(wait_for([&] { return replies.deliveries[1]->closed; }));
        EXPECT_EQ(replies.deliveries[1]->data, first_status_reply);
    }
    EXPECT_EQ(log_count("     Status report was requested"), 2);
}

TEST_F(ServerSocketsTest, SessionThatSendsTooMuchIsCutOffUnprocessed) {
    ReplyPort replies(transmit_port);
    ASSERT_TRUE(replies.listening);
    Client flood(listen_port);
    ASSERT_TRUE(flood.connected());
    ASSERT_TRUE(wait_for([&] { return element(1).State() == Winsock::sckConnected; }));
    const QByteArray chunk(64 * 1024, 'x');
    flood.send("STATUS");
    for (int i = 0; i < 160; ++i) {  // 10 MiB
        flood.socket.write(chunk);
        ASSERT_TRUE(wait_for([&] { return flood.socket.bytesToWrite() < 4 * chunk.size(); }))
            << "chunk " << i;
    }
    flood.socket.disconnectFromHost();
    ASSERT_TRUE(flood.ended());
    ASSERT_TRUE(wait_for([&] { return element(1).State() == Winsock::sckClosing; }))
        << "the server has seen the end";
    QTest::qWait(50);
    EXPECT_EQ(form1->clients().NUM_CLIENTS(), 0);
    EXPECT_EQ(log().count(), start_lines);
    EXPECT_EQ(form1->listeners().WS_LISTENER_SCKDATA(1), "");

    // The next client is served on another element meanwhile.
    request("STATUS");
    ASSERT_TRUE(replies.delivered()) << log_text();
    EXPECT_EQ(replies.first(), first_status_reply);
    EXPECT_EQ(replies.deliveries.size(), 1U);
    EXPECT_EQ(form1->clients().NUM_CLIENTS(), 1);
    EXPECT_EQ(log_count("     Status report was requested"), 1);
    EXPECT_EQ(element(1).State(), Winsock::sckClosing) << "left to the closer timer";

    closer_timer().fire();
    EXPECT_EQ(element(1).State(), Winsock::sckClosed);
    Client next(listen_port);
    ASSERT_TRUE(next.connected());
    EXPECT_TRUE(wait_for([&] { return element(1).State() == Winsock::sckConnected; }))
        << "the swept element takes clients again";
}

TEST_F(ServerSocketsTest, ResetSessionIsNeverReusedWhileBusyAndKeepsNobodyWaiting) {
    // A reset is as near to a broken connection as a client can cause. Qt
    // reports it on Linux like an orderly close, so today the element is
    // freed at once and the text so far is handled as a request; should it
    // ever end in the error or closing state instead, it must not take a
    // client before the closer timer has swept it. Either way the server
    // goes on serving.
    ReplyPort replies(transmit_port);
    ASSERT_TRUE(replies.listening);
    RawClient rude(listen_port);
    ASSERT_TRUE(rude.connected());
    ASSERT_TRUE(wait_for([&] { return element(1).State() == Winsock::sckConnected; }));
    ASSERT_TRUE(rude.send("STAT"));
    ASSERT_TRUE(wait_for([&] { return form1->listeners().WS_LISTENER_SCKDATA(1) == "STAT"; }));
    rude.reset();
    ASSERT_TRUE(wait_for([&] { return element(1).State() != Winsock::sckConnected; }));
    const int after_reset = element(1).State();
    EXPECT_TRUE(after_reset == Winsock::sckClosed || after_reset == Winsock::sckClosing ||
                after_reset == Winsock::sckError)
        << after_reset;
    EXPECT_EQ(log().count(), start_lines) << "no keyword, no log block";

    request("STATUS");
    ASSERT_TRUE(replies.delivered()) << log_text();
    EXPECT_EQ(replies.first(), first_status_reply);
    if (after_reset != Winsock::sckClosed) {
        EXPECT_EQ(element(1).State(), after_reset) << "taken before the sweep";
    }

    closer_timer().fire();
    EXPECT_EQ(element(1).State(), Winsock::sckClosed);
    EXPECT_EQ(form1->listeners().WS_LISTENER_SCKDATA(1), "");
    Client next(listen_port);
    ASSERT_TRUE(next.connected());
    EXPECT_TRUE(wait_for([&] { return element(1).State() == Winsock::sckConnected; }));
}

// --- Deliveries -------------------------------------------------------------

TEST_F(ServerSocketsTest, ReplyIsDroppedWhenAnotherStartsBeforeItsConnectionOpens) {
    const quint16 other_port = free_settings_port({listen_port, transmit_port});
    ASSERT_NE(other_port, 0);
    ReplyPort first(transmit_port);
    ReplyPort second(other_port);
    ASSERT_TRUE(first.listening);
    ASSERT_TRUE(second.listening);

    form1->talker().start_status("127.0.0.1", static_cast<std::int16_t>(transmit_port));
    form1->talker().start_status("127.0.0.1", static_cast<std::int16_t>(other_port));
    ASSERT_TRUE(second.delivered());
    EXPECT_EQ(second.first(), first_status_reply);
    QTest::qWait(100);
    EXPECT_TRUE(first.first().isEmpty());
    EXPECT_EQ(log_count("     Sending data to a client"), 1);
    EXPECT_EQ(log_count("     Error..."), 0);
}

TEST_F(ServerSocketsTest, ClientNotListeningOnTheTransmitPortIsAnError) {
    request("STATUS");
    ASSERT_TRUE(wait_for([&] { return log().item(2) == "     Error..."; }));
    EXPECT_EQ(log().item(3), "      Sending data to client!");
    EXPECT_EQ(log().item(6), "     Status report was requested");
    EXPECT_EQ(log().item(7), "     (IP:127.0.0.1)") << "refused there, not an unusable address";
}

TEST_F(ServerSocketsTest, OperatorMessageGoesToPort2519WhateverTheTransmitPort) {
    ReplyPort messages(2519);
    if (!messages.listening) {
        GTEST_SKIP() << "port 2519 is taken on this machine";
    }
    ReplyPort replies(transmit_port);

    form1->window().SEND_MESSAGE_BUTTON.click();
    messaging::SendMessageForm* form = form1->send_message().form();
    ASSERT_NE(form, nullptr);
    form->CLIENT_IP_ADDRESSES_COMBO_BOX.typed("127.0.0.1");
    form->MESSAGE_TEXT.typed("Dish realigned, try again");
    form->SEND_THE_MESSAGE_BUTTON.click();

    ASSERT_TRUE(messages.delivered());
    EXPECT_EQ(messages.first(), "MESSAGDish realigned, try again");
    EXPECT_EQ(form1->send_message().form(), nullptr) << "closed once sent";
    EXPECT_TRUE(replies.deliveries.empty());
    EXPECT_EQ(log().item(2), "     Sending a message to Clients");
}

}  // namespace
