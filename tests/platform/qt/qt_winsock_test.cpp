#include "platform/qt/qt_winsock.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QRandomGenerator>
#include <QTest>
#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/failure.h"

namespace {

using platform::Winsock;
using platform::qt::QtNetwork;
using platform::qt::QtWinsock;

constexpr int patience_ms = 5000;

template <typename Condition>
bool wait_for(Condition condition) {
    return QTest::qWaitFor(condition, patience_ms);
}

std::string every_byte() {
    std::string bytes;
    for (int byte = 0; byte < 256; ++byte) {
        bytes.push_back(static_cast<char>(byte));
    }
    return bytes;
}

// Listens on a free port below 32768, the most that the 16-bit port
// properties hold; port 0 would mostly get one above.
std::int16_t listen_on_free_port(QtWinsock& socket) {
    const int first = QRandomGenerator::global()->bounded(12000);
    for (int attempt = 0; attempt < 300; ++attempt) {
        const auto port = static_cast<std::int16_t>(20000 + (first + attempt * 37) % 12000);
        socket.set_LocalPort(port);
        try {
            socket.Listen();
            return port;
        } catch (const platform::Failure&) {
            // Taken; try the next.
        }
    }
    ADD_FAILURE() << "no free port";
    return 0;
}

// A client on a plain socket to 127.0.0.1: it connects, sends and closes
// without the event loop, so a test can line up what the server will find.
class RawClient {
  public:
    explicit RawClient(std::uint16_t port) : fd_(::socket(AF_INET, SOCK_STREAM, 0)) {
        const timeval patience{patience_ms / 1000, 0};
        ::setsockopt(fd_, SOL_SOCKET, SO_SNDTIMEO, &patience, sizeof patience);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(port);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        connected_ =
            ::connect(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
        ::fcntl(fd_, F_SETFL, O_NONBLOCK);
    }
    RawClient(const RawClient&) = delete;
    RawClient& operator=(const RawClient&) = delete;
    ~RawClient() { ::close(fd_); }

    bool connected() const { return connected_; }
    void send(std::string_view bytes) {
        ASSERT_EQ(::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL),
                  static_cast<ssize_t>(bytes.size()));
    }
    void shut_output() { ::shutdown(fd_, SHUT_WR); }

    // Reads what has come, without waiting.
    void read_some() {
        char buffer[4096];
        while (!ended_) {
            const ssize_t count = ::recv(fd_, buffer, sizeof buffer, 0);
            if (count > 0) {
                received_.append(buffer, static_cast<std::size_t>(count));
            } else if (count == 0 || (errno != EAGAIN && errno != EWOULDBLOCK)) {
                ended_ = true;
                reset_ = count < 0;
            } else {
                return;
            }
        }
    }
    bool wait_for_end() {
        return wait_for([this] {
            read_some();
            return ended_;
        });
    }

    const std::string& received() const { return received_; }
    bool ended() const { return ended_; }
    bool reset() const { return reset_; }

  private:
    int fd_;
    bool connected_ = false;
    std::string received_;
    bool ended_ = false;
    bool reset_ = false;
};

// A listener on any free port whose connection requests the test answers.
struct Server {
    QtNetwork network;
    std::unique_ptr<QtWinsock> listener = network.make_socket();

    Server() {
        listener->set_LocalPort(0);
        listener->Listen();
    }
    std::uint16_t port() const { return listener->local_port(); }
    // Accepts every request on a new socket, set up by `prepare` first.
    template <typename Prepare>
    void accept_all(std::vector<std::unique_ptr<QtWinsock>>& sessions, Prepare prepare) {
        listener->on_ConnectionRequest([this, &sessions, prepare](long request_id) {
            sessions.push_back(network.make_socket());
            prepare(*sessions.back());
            sessions.back()->Accept(request_id);
        });
    }
};

TEST(QtWinsockTest, ListensOnAFreePortAndRefusesATakenOrNegativeOne) {
    QtNetwork network;
    const auto any = network.make_socket();
    any->set_LocalPort(0);
    any->Listen();
    EXPECT_EQ(any->State(), Winsock::sckListening);
    EXPECT_NE(any->local_port(), 0);
    EXPECT_THROW(any->Listen(), platform::Failure) << "already listening";

    const auto holder = network.make_socket();
    const std::int16_t port = listen_on_free_port(*holder);
    const auto second = network.make_socket();
    second->set_LocalPort(port);
    EXPECT_THROW(second->Listen(), platform::Failure);
    EXPECT_EQ(second->State(), Winsock::sckClosed);
    EXPECT_THROW(second->set_LocalPort(-1), platform::Failure);

    holder->Close();
    EXPECT_EQ(holder->State(), Winsock::sckClosed);
    EXPECT_NO_THROW(second->Listen()) << "Close frees the port at once";
    EXPECT_EQ(second->local_port(), static_cast<std::uint16_t>(port));
}

TEST(QtWinsockTest, AnotherSocketAcceptsTheRequestAndReceivesEverySend) {
    Server server;
    const auto session = server.network.make_socket();
    long accepted_id = 0;
    server.listener->on_ConnectionRequest([&](long request_id) {
        EXPECT_THROW(server.listener->Accept(request_id), platform::Failure) << "not closed";
        session->Accept(request_id);
        accepted_id = request_id;
    });
    std::string fetched;
    std::vector<long> totals;
    session->on_DataArrival([&](long bytes_total) {
        totals.push_back(bytes_total);
        const std::string data = session->GetData();
        EXPECT_EQ(static_cast<long>(data.size()), bytes_total);
        fetched += data;
    });

    RawClient client(server.port());
    ASSERT_TRUE(client.connected());
    ASSERT_TRUE(wait_for([&] { return session->State() == Winsock::sckConnected; }));
    EXPECT_EQ(session->RemoteHostIP(), "127.0.0.1");
    EXPECT_EQ(server.listener->State(), Winsock::sckListening);
    EXPECT_THROW(server.network.make_socket()->Accept(accepted_id), platform::Failure)
        << "taken already";
    EXPECT_THROW(server.network.make_socket()->Accept(9999), platform::Failure);

    const std::string sends[] = {"one ", "two ", every_byte()};
    std::string sent;
    for (const std::string& part : sends) {
        client.send(part);
        sent += part;
        ASSERT_TRUE(wait_for([&] { return fetched.size() == sent.size(); }));
    }
    EXPECT_EQ(fetched, sent) << "bytes pass unchanged";
    EXPECT_GE(totals.size(), 3U);
}

TEST(QtWinsockTest, DataThatComesWithThePeersCloseIsAllToldBeforeClose) {
    Server server;
    std::vector<std::unique_ptr<QtWinsock>> sessions;
    std::vector<std::string> events;
    std::vector<std::string> at_close;
    server.accept_all(sessions, [&](QtWinsock& session) {
        session.on_DataArrival([&events](long) { events.push_back("data"); });
        session.on_Close([&events, &at_close, &session] {
            events.push_back("close");
            EXPECT_EQ(session.State(), Winsock::sckClosing);
            at_close.push_back(session.GetData());
        });
    });

    // Sent and closed before the server has even seen the connection.
    RawClient early(server.port());
    early.send("first part, ");
    early.send("last part");
    early.shut_output();
    ASSERT_TRUE(wait_for([&] { return at_close.size() == 1; }));
    EXPECT_EQ(at_close[0], "first part, last part");
    EXPECT_EQ(events, (std::vector<std::string>{"data", "close"}));

    // Sent and closed between two passes of the event loop of a session.
    events.clear();
    RawClient late(server.port());
    ASSERT_TRUE(wait_for([&] { return sessions.size() == 2; }));
    QTest::qWait(20);
    late.send(every_byte());
    late.send("tail");
    late.shut_output();
    ASSERT_TRUE(wait_for([&] { return at_close.size() == 2; }));
    EXPECT_EQ(at_close[1], every_byte() + "tail");
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.front(), "data");
    EXPECT_EQ(events.back(), "close");

    // Nothing sent at all.
    events.clear();
    { RawClient silent(server.port()); }
    ASSERT_TRUE(wait_for([&] { return at_close.size() == 3; }));
    EXPECT_EQ(events, std::vector<std::string>{"close"});
    EXPECT_EQ(at_close[2], "");
    sessions.back()->Close();
    EXPECT_EQ(sessions.back()->State(), Winsock::sckClosed);
}

TEST(QtWinsockTest, DataThatComesWhileAHandlerRunsTheEventLoopIsToldBeforeClose) {
    // Qt does not repeat readyRead inside its own readyRead, so the bytes
    // that come meanwhile are found only with the close.
    Server server;
    std::unique_ptr<RawClient> client;
    std::vector<std::unique_ptr<QtWinsock>> sessions;
    std::string fetched;
    std::string fetched_at_close;
    server.accept_all(sessions, [&](QtWinsock& session) {
        session.on_DataArrival([&](long) {
            const bool first = fetched.empty();
            fetched += session.GetData();
            if (first) {
                client->send("rest");
                client->shut_output();
                QTest::qWait(50);
            }
        });
        session.on_Close([&] { fetched_at_close = fetched; });
    });

    client = std::make_unique<RawClient>(server.port());
    ASSERT_TRUE(wait_for([&] { return sessions.size() == 1; }));
    QTest::qWait(20);
    client->send("first ");
    ASSERT_TRUE(wait_for([&] { return sessions.front()->State() == Winsock::sckClosing; }));
    EXPECT_EQ(fetched_at_close, "first rest");
}

TEST(QtWinsockTest, BurstOfConnectionsIsOfferedOnePerPassAndUnacceptedOnesAreRefused) {
    constexpr int burst = 5;
    Server server;
    const auto first = server.network.make_socket();
    std::vector<std::string> events;
    std::vector<long> ids;
    server.listener->on_ConnectionRequest([&](long request_id) {
        events.push_back("request");
        ids.push_back(request_id);
        if (ids.size() == 1) {
            first->Accept(request_id);
        }
    });
    first->on_DataArrival([&](long) {
        events.push_back("data");
        first->GetData();
    });

    std::vector<std::unique_ptr<RawClient>> clients;
    for (int i = 0; i < burst; ++i) {
        clients.push_back(std::make_unique<RawClient>(server.port()));
        ASSERT_TRUE(clients.back()->connected());
        clients.back()->send("hello");
    }

    int most_in_one_pass = 0;
    const QDeadlineTimer deadline(patience_ms);
    while (ids.size() < burst && !deadline.hasExpired()) {
        const auto before = ids.size();
        QCoreApplication::processEvents();
        most_in_one_pass = std::max(most_in_one_pass, static_cast<int>(ids.size() - before));
    }
    ASSERT_EQ(ids.size(), static_cast<std::size_t>(burst));
    EXPECT_EQ(most_in_one_pass, 1);
    const auto first_data = std::find(events.begin(), events.end(), "data");
    EXPECT_LT(std::count(events.begin(), first_data, "request"), burst)
        << "the first session's data comes before the last request";
    EXPECT_EQ(std::set<long>(ids.begin(), ids.end()).size(), ids.size()) << "fresh ids";

    const auto refused = [&clients] {
        return std::count_if(clients.begin(), clients.end(), [](const auto& client) {
            client->read_some();
            return client->ended();
        });
    };
    EXPECT_TRUE(wait_for([&] { return refused() == burst - 1; }));
    QTest::qWait(20);
    EXPECT_EQ(refused(), burst - 1) << "all but the accepted one";
    EXPECT_THROW(server.network.make_socket()->Accept(ids.back()), platform::Failure);
}

TEST(QtWinsockTest, CloseDeliversTheLastSendToAClientWhoseDataIsUnread) {
    Server server;
    std::unique_ptr<RawClient> client;
    std::vector<std::unique_ptr<QtWinsock>> sessions;
    int arrivals = 0;
    server.accept_all(sessions, [&](QtWinsock& session) {
        session.on_DataArrival([&arrivals, &session, &client](long) {
            // Leaves the data unread, says goodbye and closes at once, while
            // the client is still talking.
            ++arrivals;
            session.SendData("Server full, bye\r\n");
            client->send("more words");
            session.Close();
        });
        session.on_Close([] { ADD_FAILURE() << "an event after Close"; });
    });

    client = std::make_unique<RawClient>(server.port());
    ASSERT_TRUE(client->connected());
    client->send("hello");
    ASSERT_TRUE(client->wait_for_end());
    EXPECT_FALSE(client->reset());
    EXPECT_EQ(client->received(), "Server full, bye\r\n");
    EXPECT_EQ(arrivals, 1);
    EXPECT_EQ(sessions.front()->State(), Winsock::sckClosed);
}

TEST(QtWinsockTest, ConnectReachesAListenerAndSendsBytesUnchanged) {
    QtNetwork network;
    const auto listener = network.make_socket();
    const auto peer = network.make_socket();
    const std::int16_t port = listen_on_free_port(*listener);
    listener->on_ConnectionRequest([&](long request_id) { peer->Accept(request_id); });
    std::string at_peer;
    peer->on_DataArrival([&](long) { at_peer += peer->GetData(); });

    const auto client = network.make_socket();
    EXPECT_THROW(client->SendData("early"), platform::Failure) << "not connected";
    EXPECT_THROW(client->set_RemotePort(-5), platform::Failure);
    int connects = 0;
    int completions = 0;
    client->on_Connect([&] { ++connects; });
    client->on_SendComplete([&] { ++completions; });
    client->set_RemoteHost("127.0.0.1");
    client->set_RemotePort(port);
    client->Connect();
    EXPECT_EQ(client->State(), Winsock::sckConnecting);
    EXPECT_THROW(client->Connect(), platform::Failure) << "not closed";

    ASSERT_TRUE(wait_for([&] { return connects == 1; }));
    EXPECT_EQ(client->State(), Winsock::sckConnected);
    EXPECT_EQ(client->RemoteHostIP(), "127.0.0.1");

    const std::string message = "Hallo \x80\xe4\xff " + every_byte();
    client->SendData(message);
    ASSERT_TRUE(wait_for([&] { return completions == 1; }));
    ASSERT_TRUE(wait_for([&] { return at_peer.size() == message.size(); }));
    EXPECT_EQ(at_peer, message);
}

TEST(QtWinsockTest, ConnectFailuresEndInErrorState) {
    QtNetwork network;
    std::int16_t closed_port = 0;
    {
        const auto probe = network.make_socket();
        closed_port = listen_on_free_port(*probe);
    }
    const auto client = network.make_socket();
    std::vector<int> errors;
    client->on_Error([&](int number, const std::string& description) {
        errors.push_back(number);
        EXPECT_FALSE(description.empty());
    });

    client->set_RemoteHost("127.0.0.1");
    client->set_RemotePort(closed_port);
    client->Connect();
    ASSERT_TRUE(wait_for([&] { return !errors.empty(); }));
    EXPECT_EQ(errors, std::vector<int>{10061});
    EXPECT_EQ(client->State(), Winsock::sckError);
    EXPECT_THROW(client->Connect(), platform::Failure) << "Close first";

    client->Close();
    EXPECT_EQ(client->State(), Winsock::sckClosed);
    // Refused before any name server is asked.
    client->set_RemoteHost("not a host!");
    client->Connect();
    ASSERT_TRUE(wait_for([&] { return errors.size() == 2; }));
    EXPECT_EQ(errors[1], 11001);
    EXPECT_EQ(client->State(), Winsock::sckError);
    EXPECT_EQ(client->RemoteHostIP(), "");
}

TEST(QtWinsockTest, HandlersMayDestroyTheirOwnSocket) {
    Server server;
    std::unique_ptr<QtWinsock> reader;
    std::unique_ptr<QtWinsock> closer;
    int requests = 0;
    server.listener->on_ConnectionRequest([&](long request_id) {
        auto& session = ++requests == 1 ? reader : closer;
        session = server.network.make_socket();
        session->on_DataArrival([&session](long) { session.reset(); });
        session->on_Close([&session] { session.reset(); });
        // The client's data and close reach the connection before it is
        // accepted, so both are told in the same pass as the accept.
        QTest::qWait(20);
        session->Accept(request_id);
    });
    RawClient sender(server.port());
    sender.send("bye");
    sender.shut_output();
    ASSERT_TRUE(wait_for([&] { return requests == 1 && reader == nullptr; }));
    RawClient leaver(server.port());
    leaver.shut_output();
    ASSERT_TRUE(wait_for([&] { return requests == 2 && closer == nullptr; }));

    server.listener->on_ConnectionRequest([&](long) { server.listener.reset(); });
    RawClient refused(server.port());
    ASSERT_TRUE(wait_for([&] { return server.listener == nullptr; }));
    EXPECT_TRUE(refused.wait_for_end());

    std::unique_ptr<platform::Winsock> failing = server.network.create_socket();
    failing->on_Error([&](int, const std::string&) { failing.reset(); });
    failing->set_RemoteHost("not a host!");
    failing->Connect();
    ASSERT_TRUE(wait_for([&] { return failing == nullptr; }));
    QTest::qWait(20);
}

}  // namespace
