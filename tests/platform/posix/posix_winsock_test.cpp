#include "platform/posix/posix_winsock.h"

#include <gtest/gtest.h>
#include <sys/socket.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <memory>
#include <numeric>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "platform/failure.h"
#include "support/engine_loop.h"
#include "support/raw_client.h"

namespace {

using platform::Winsock;
using platform::posix::Descriptor;
using platform::posix::Farewells;
using platform::posix::PosixNetwork;
using platform::posix::PosixWinsock;
using platform::posix::SocketEngine;
using test_support::RawClient;

std::string every_byte() {
    std::string bytes(256, '\0');
    std::iota(bytes.begin(), bytes.end(), '\0');
    return bytes;
}

// The engine that the program's event loop would drive, and its sockets.
class PosixWinsockTest : public ::testing::Test {
  protected:
    template <typename Condition>
    bool wait_for(Condition condition) {
        return test_support::run_until(engine, condition);
    }
    void run_for(int milliseconds) { test_support::run_for(engine, milliseconds); }
    bool wait_for_end(RawClient& client) {
        return wait_for([&] { return client.read_some(); });
    }

    SocketEngine engine;
    PosixNetwork network{engine};
};

// A listener whose connection requests the test answers, on any free port
// unless given one.
struct Server {
    PosixNetwork& network;
    std::unique_ptr<PosixWinsock> listener = network.make_socket();
    std::vector<std::unique_ptr<PosixWinsock>> sessions;

    explicit Server(PosixNetwork& on, std::uint16_t port = 0) : network(on) {
        listener->set_LocalPort(static_cast<std::int16_t>(port));
        listener->Listen();
    }
    std::uint16_t port() const { return listener->local_port(); }
    // Accepts every request on a new socket in sessions, set up by `prepare` first.
    template <typename Prepare>
    void accept_all(Prepare prepare) {
        listener->on_ConnectionRequest([this, prepare](long request_id) {
            sessions.push_back(network.make_socket());
            prepare(*sessions.back());
            sessions.back()->Accept(request_id);
        });
    }
};

TEST_F(PosixWinsockTest, ListensOnAFreePortAndRefusesATakenOrNegativeOne) {
    Server any(network);
    EXPECT_EQ(any.listener->State(), Winsock::sckListening);
    EXPECT_NE(any.port(), 0);
    EXPECT_THROW(any.listener->Listen(), platform::Failure) << "already listening";

    const auto holder = network.make_socket();
    const auto port = static_cast<std::int16_t>(test_support::free_port());
    holder->set_LocalPort(port);
    holder->Listen();
    const auto second = network.make_socket();
    second->set_LocalPort(port);
    EXPECT_THROW(second->Listen(), platform::Failure);
    EXPECT_EQ(second->State(), Winsock::sckClosed);
    EXPECT_THROW(second->set_LocalPort(-1), platform::Failure);

    holder->Close();
    EXPECT_NO_THROW(second->Listen()) << "Close frees the port at once";
    EXPECT_EQ(second->local_port(), static_cast<std::uint16_t>(port));
}

TEST_F(PosixWinsockTest, DataThatComesWithThePeersCloseIsAllToldBeforeClose) {
    Server server(network);
    std::vector<std::string> events;
    std::vector<std::string> at_close;
    server.accept_all([&](PosixWinsock& session) {
        session.on_DataArrival([&events](long) { events.push_back("data"); });
        session.on_Close([&events, &at_close, &session] {
            events.push_back("close");
            EXPECT_EQ(session.State(), Winsock::sckClosing);
            at_close.push_back(session.GetData());
        });
    });

    // Sent and closed before the server has even seen the connection.
    RawClient early(server.port());
    ASSERT_TRUE(early.send("first part, ") && early.send("last part"));
    early.shut_output();
    ASSERT_TRUE(wait_for([&] { return at_close.size() == 1; }));
    EXPECT_EQ(at_close[0], "first part, last part");
    EXPECT_EQ(events, (std::vector<std::string>{"data", "close"}));

    // Sent and closed between two passes of the event loop of a session.
    events.clear();
    RawClient late(server.port());
    ASSERT_TRUE(wait_for([&] { return server.sessions.size() == 2; }));
    run_for(20);
    ASSERT_TRUE(late.send(every_byte()) && late.send("tail"));
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
}

TEST_F(PosixWinsockTest, DataThatComesWhileAHandlerRunsTheEventLoopIsToldBeforeClose) {
    // A handler that lets pending events run (as the program does after
    // sending) meets the rest and the close meanwhile: still in that order.
    Server server(network);
    std::unique_ptr<RawClient> client;
    std::string fetched;
    std::string fetched_at_close;
    server.accept_all([&](PosixWinsock& session) {
        session.on_DataArrival([&](long) {
            const bool first = fetched.empty();
            fetched += session.GetData();
            if (first) {
                EXPECT_TRUE(client->send("rest"));
                client->shut_output();
                run_for(50);
            }
        });
        session.on_Close([&] { fetched_at_close = fetched; });
    });

    client = std::make_unique<RawClient>(server.port());
    ASSERT_TRUE(wait_for([&] { return server.sessions.size() == 1; }));
    run_for(20);
    ASSERT_TRUE(client->send("first "));
    ASSERT_TRUE(wait_for([&] { return server.sessions.front()->State() == Winsock::sckClosing; }));
    EXPECT_EQ(fetched_at_close, "first rest");
}

TEST_F(PosixWinsockTest, BurstOfConnectionsIsOfferedOnePerPassAndUnacceptedOnesAreRefused) {
    constexpr int burst = 5;
    Server server(network);
    const auto first = network.make_socket();
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
        ASSERT_TRUE(clients.back()->connected() && clients.back()->send("hello"));
    }

    int most_in_one_pass = 0;
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(test_support::patience_ms);
    while (ids.size() < burst && std::chrono::steady_clock::now() < deadline) {
        const auto before = ids.size();
        engine.wait(std::chrono::milliseconds(5));
        most_in_one_pass = std::max(most_in_one_pass, static_cast<int>(ids.size() - before));
    }
    ASSERT_EQ(ids.size(), static_cast<std::size_t>(burst));
    EXPECT_EQ(most_in_one_pass, 1);
    const auto first_data = std::find(events.begin(), events.end(), "data");
    EXPECT_LT(std::count(events.begin(), first_data, "request"), burst)
        << "the first session's data comes before the last request";
    EXPECT_EQ(std::set<long>(ids.begin(), ids.end()).size(), ids.size()) << "fresh ids";

    const auto refused = [&clients] {
        return std::count_if(clients.begin(), clients.end(),
                             [](const auto& client) { return client->read_some(); });
    };
    EXPECT_TRUE(wait_for([&] { return refused() == burst - 1; }));
    run_for(20);
    EXPECT_EQ(refused(), burst - 1) << "all but the accepted one";
    EXPECT_THROW(network.make_socket()->Accept(ids.back()), platform::Failure);
}

TEST_F(PosixWinsockTest, CloseDeliversTheLastSendToAClientWhoseDataIsUnread) {
    Server server(network);
    std::unique_ptr<RawClient> client;
    int arrivals = 0;
    server.accept_all([&](PosixWinsock& session) {
        session.on_DataArrival([&arrivals, &session, &client](long) {
            // Leaves the data unread, says goodbye and closes at once, while
            // the client is still talking.
            ++arrivals;
            session.SendData("Server full, bye\r\n");
            EXPECT_TRUE(client->send("more words"));
            session.Close();
        });
        session.on_Close([] { ADD_FAILURE() << "an event after Close"; });
    });

    client = std::make_unique<RawClient>(server.port());
    ASSERT_TRUE(client->connected() && client->send("hello"));
    ASSERT_TRUE(wait_for_end(*client));
    EXPECT_FALSE(client->reset());
    EXPECT_EQ(client->received(), "Server full, bye\r\n");
    EXPECT_EQ(arrivals, 1);
}

TEST_F(PosixWinsockTest, ConnectReachesAnotherSocketThatAcceptsAndBytesPassUnchanged) {
    Server server(network, test_support::free_port());
    const auto peer = network.make_socket();
    long accepted_id = 0;
    server.listener->on_ConnectionRequest([&](long request_id) {
        EXPECT_THROW(server.listener->Accept(request_id), platform::Failure) << "not closed";
        peer->Accept(request_id);
        accepted_id = request_id;
    });
    std::string at_peer;
    peer->on_DataArrival([&](long bytes_total) {
        const std::string data = peer->GetData();
        EXPECT_EQ(static_cast<long>(data.size()), bytes_total);
        at_peer += data;
    });

    const auto client = network.make_socket();
    EXPECT_THROW(client->SendData("early"), platform::Failure) << "not connected";
    EXPECT_THROW(client->set_RemotePort(-5), platform::Failure);
    int connects = 0;
    int completions = 0;
    client->on_Connect([&] { ++connects; });
    client->on_SendComplete([&] { ++completions; });
    client->set_RemoteHost("127.0.0.1");
    client->set_RemotePort(static_cast<std::int16_t>(server.port()));
    client->Connect();
    EXPECT_EQ(client->State(), Winsock::sckConnecting);
    EXPECT_THROW(client->Connect(), platform::Failure) << "not closed";

    ASSERT_TRUE(wait_for([&] { return connects == 1 && peer->State() == Winsock::sckConnected; }));
    EXPECT_EQ(client->State(), Winsock::sckConnected);
    EXPECT_EQ(client->RemoteHostIP(), "127.0.0.1");
    EXPECT_EQ(peer->RemoteHostIP(), "127.0.0.1");
    EXPECT_EQ(server.listener->State(), Winsock::sckListening);
    EXPECT_THROW(network.make_socket()->Accept(accepted_id), platform::Failure) << "taken already";
    EXPECT_THROW(network.make_socket()->Accept(9999), platform::Failure);

    const std::string message = "Hallo \x80\xe4\xff " + every_byte();
    client->SendData(message);
    ASSERT_TRUE(wait_for([&] { return completions == 1; }));
    ASSERT_TRUE(wait_for([&] { return at_peer.size() == message.size(); }));
    EXPECT_EQ(at_peer, message);
}

TEST_F(PosixWinsockTest, CloseWhileConnectingDropsThatAttemptAndItsOutcomeForTheNext) {
    Server first(network, test_support::free_port());
    Server second(network, test_support::free_port(first.port()));
    std::string at_first;
    std::string at_second;
    for (auto [server, received] : {std::pair{&first, &at_first}, std::pair{&second, &at_second}}) {
        server->accept_all([received](PosixWinsock& session) {
            session.on_DataArrival([received, &session](long) { *received += session.GetData(); });
        });
    }
    const auto client = network.make_socket();
    int connects = 0;
    client->on_Connect([&] {
        ++connects;
        client->SendData("hello");
    });
    int errors = 0;
    client->on_Error([&errors](int, const std::string&) { ++errors; });
    // Its failure is already on its way when the socket is closed.
    client->set_RemoteHost("not a host!");
    client->Connect();
    client->set_RemoteHost("127.0.0.1");
    for (const Server* server : {&first, &second}) {
        client->Close();
        client->set_RemotePort(static_cast<std::int16_t>(server->port()));
        client->Connect();
    }
    ASSERT_TRUE(wait_for([&] { return !at_second.empty(); }));
    run_for(100);
    EXPECT_EQ(at_second, "hello");
    EXPECT_EQ(at_first, "");
    EXPECT_EQ(connects, 1);
    EXPECT_EQ(errors, 0);
}

TEST_F(PosixWinsockTest, ConnectFailuresEndInErrorState) {
    const auto client = network.make_socket();
    std::vector<int> errors;
    client->on_Error([&](int number, const std::string& description) {
        errors.push_back(number);
        EXPECT_FALSE(description.empty());
    });

    // A name is looked up without holding up the loop.
    Server server(network, test_support::free_port());
    server.accept_all([](PosixWinsock&) {});
    int connects = 0;
    client->on_Connect([&] { ++connects; });
    client->set_RemoteHost("localhost");
    client->set_RemotePort(static_cast<std::int16_t>(server.port()));
    client->Connect();
    ASSERT_TRUE(wait_for([&] { return connects == 1; }));
    EXPECT_EQ(client->State(), Winsock::sckConnected);

    // A port nobody listens on, a broadcast address that fails inside
    // connect() itself, and a name refused before any name server is asked.
    const std::pair<std::string, int> failures[] = {
        {"127.0.0.1", 10061}, {"255.255.255.255", 0}, {"not a host!", 11001}};
    client->set_RemotePort(static_cast<std::int16_t>(test_support::free_port()));
    for (const auto& [host, number] : failures) {
        errors.clear();
        client->Close();
        client->set_RemoteHost(host);
        client->Connect();
        EXPECT_TRUE(errors.empty()) << "told from inside Connect: " << host;
        ASSERT_TRUE(wait_for([&] { return !errors.empty(); })) << host;
        run_for(20);
        ASSERT_EQ(errors.size(), 1U) << host;
        if (number != 0) {
            EXPECT_EQ(errors[0], number) << host;
        }
        EXPECT_EQ(client->State(), Winsock::sckError) << host;
        EXPECT_EQ(client->RemoteHostIP(), "") << host;
        EXPECT_THROW(client->Connect(), platform::Failure) << "Close first: " << host;
    }
}

TEST_F(PosixWinsockTest, HandlersMayDestroyTheirOwnSocket) {
    Server server(network);
    std::unique_ptr<PosixWinsock> reader;
    std::unique_ptr<PosixWinsock> closer;
    int requests = 0;
    server.listener->on_ConnectionRequest([&](long request_id) {
        auto& session = ++requests == 1 ? reader : closer;
        session = network.make_socket();
        session->on_DataArrival([&session](long) { session.reset(); });
        session->on_Close([&session] { session.reset(); });
        // The client's data and close reach the connection before it is
        // accepted, so both are told in the pass after the accept.
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        session->Accept(request_id);
    });
    RawClient sender(server.port());
    ASSERT_TRUE(sender.send("bye"));
    sender.shut_output();
    ASSERT_TRUE(wait_for([&] { return requests == 1 && reader == nullptr; }));
    RawClient leaver(server.port());
    leaver.shut_output();
    ASSERT_TRUE(wait_for([&] { return requests == 2 && closer == nullptr; }));

    server.listener->on_ConnectionRequest([&](long) { server.listener.reset(); });
    RawClient refused(server.port());
    ASSERT_TRUE(wait_for([&] { return server.listener == nullptr; }));
    EXPECT_TRUE(wait_for_end(refused));

    std::unique_ptr<platform::Winsock> failing = network.create_socket();
    failing->on_Error([&](int, const std::string&) { failing.reset(); });
    failing->set_RemoteHost("not a host!");
    failing->Connect();
    ASSERT_TRUE(wait_for([&] { return failing == nullptr; }));
    run_for(20);
}

TEST_F(PosixWinsockTest, ClosingAfterThePeerClosedLeavesAReusedDescriptorAlone) {
    Server server(network);
    Server other(network);
    std::unique_ptr<RawClient> newcomer;
    bool newcomer_can_send = false;
    server.accept_all([&](PosixWinsock& session) {
        session.on_Close([&] {
            // A new socket now likely gets the number of the session's
            // descriptor, if that has been let go of too early.
            newcomer = std::make_unique<RawClient>(other.port());
            session.Close();
            newcomer_can_send = newcomer->connected() && newcomer->send("still open");
        });
    });
    {
        RawClient client(server.port());
        ASSERT_TRUE(client.connected() && client.send("STATUS"));
    }
    ASSERT_TRUE(wait_for([&] { return newcomer != nullptr; }));
    EXPECT_TRUE(newcomer_can_send);
}

using Told = std::vector<std::string>;

TEST_F(PosixWinsockTest, AResetIsAnErrorAndAnOrderlyEndIsAClose) {
    Server server(network);
    std::vector<Told> told;
    server.accept_all([&](PosixWinsock& session) {
        const std::size_t index = told.size();
        told.emplace_back();
        session.on_DataArrival(
            [&told, &session, index](long) { told[index].push_back("data " + session.GetData()); });
        session.on_Close([&told, index] { told[index].push_back("close"); });
        session.on_Error([&told, index](int number, const std::string&) {
            told[index].push_back("error " + std::to_string(number));
        });
    });

    // All before the server has seen any of them: a request and a reset, a
    // reset alone, and a request with only the sending side shut.
    RawClient resetting(server.port());
    ASSERT_TRUE(resetting.send("STATUS"));
    resetting.reset_connection();
    RawClient vanishing(server.port());
    vanishing.reset_connection();
    RawClient waiting(server.port());
    ASSERT_TRUE(waiting.send("STATUS"));
    waiting.shut_output();
    ASSERT_TRUE(wait_for([&] { return told.size() == 3 && !told[2].empty(); }));
    run_for(20);

    ASSERT_TRUE(!told[0].empty());
    EXPECT_EQ(told[0].back(), "error 10054") << "a reset is never a request's end";
    EXPECT_EQ(told[1], Told{"error 10054"});
    EXPECT_EQ(server.sessions[0]->State(), Winsock::sckError);
    for (const auto& session : server.sessions) {
        EXPECT_EQ(session->RemoteHostIP(), "127.0.0.1") << "known from the accept";
    }
    // The one that only shut its side is served, then sees our orderly end.
    EXPECT_EQ(told[2], (Told{"data STATUS", "close"}));
    server.sessions[2]->Close();
    ASSERT_TRUE(wait_for_end(waiting));
    EXPECT_FALSE(waiting.reset());
}

TEST(FarewellsTest, APeerThatNeverClosesIsCutOffAfterThePatience) {
    SocketEngine engine;
    Farewells farewells(engine, std::chrono::milliseconds(300));
    int ends[2];
    ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, ends), 0);
    const Descriptor peer(ends[1]);
    farewells.take(Descriptor(ends[0]), "bye", false);
    test_support::run_for(engine, 20);
    EXPECT_EQ(farewells.count(), 1U) << "waits for the peer to close";
    EXPECT_TRUE(test_support::run_until(engine, [&] { return farewells.count() == 0; }));
}

}  // namespace
