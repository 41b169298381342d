// Runs the client's commands against a fake server on 127.0.0.1 that plays
// the real server's part on the wire: it reads a request until the client
// ends its side, and answers a status request on a new connection to the
// client's reply port.
#include "client/client.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/loopback.h"
#include "support/raw_client.h"

namespace {

namespace exit_status = client::exit_status;
using test_support::at_loopback;
using test_support::free_port;
using Words = std::vector<std::string>;

const std::string notice = "MAXIMUM CONCURRENT SESSIONS REACHED - TERMINATING SESSION.\r\n";

int stream_socket() {
    return ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
}

std::uint16_t port_of(int socket) {
    sockaddr_in address{};
    socklen_t length = sizeof address;
    ::getsockname(socket, reinterpret_cast<sockaddr*>(&address), &length);
    return ntohs(address.sin_port);
}

// Everything the peer sends until it ends its side.
std::string read_all(int connection) {
    const timeval patience{5, 0};
    ::setsockopt(connection, SOL_SOCKET, SO_RCVTIMEO, &patience, sizeof patience);
    std::string text;
    char buffer[512];
    ssize_t got = 0;
    while ((got = ::recv(connection, buffer, sizeof buffer, 0)) > 0) {
        text.append(buffer, static_cast<std::size_t>(got));
    }
    EXPECT_EQ(got, 0) << "the client did not end its request";
    return text;
}

void send_text(int connection, const std::string& text) {
    EXPECT_EQ(::send(connection, text.data(), text.size(), MSG_NOSIGNAL),
              static_cast<ssize_t>(text.size()));
}

// Connects to the client's reply port, as the server does, and sends text.
// The client may not be listening yet: it keeps trying for two seconds.
void deliver(std::uint16_t port, const std::string& text) {
    for (int attempt = 0; attempt < 200; ++attempt) {
        test_support::RawClient connection(port);
        if (connection.connected()) {
            EXPECT_TRUE(connection.send(text));
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ADD_FAILURE() << "nobody listens on port " << port;
}

// Listens on 127.0.0.1 and serves the first connection, if one comes within
// five seconds, on a thread of its own.
class FakeServer {
  public:
    explicit FakeServer(std::function<void(int connection)> serve = [](int) {}) {
        const timeval patience{5, 0};
        ::setsockopt(listener_, SOL_SOCKET, SO_RCVTIMEO, &patience, sizeof patience);
        EXPECT_EQ(at_loopback(::bind, listener_, 0), 0);
        EXPECT_EQ(::listen(listener_, 8), 0);
        thread_ = std::thread([this, serve = std::move(serve)] {
            const int connection = ::accept(listener_, nullptr, nullptr);
            if (connection >= 0) {
                serve(connection);
                ::close(connection);
            }
        });
    }
    FakeServer(const FakeServer&) = delete;
    FakeServer& operator=(const FakeServer&) = delete;
    ~FakeServer() {
        finish();
        ::close(listener_);
    }

    std::uint16_t port() const { return port_of(listener_); }
    // Waits until the server is done, or stops its waiting for a client;
    // what it saw can be read afterwards.
    void finish() {
        ::shutdown(listener_, SHUT_RD);
        if (thread_.joinable()) {
            thread_.join();
        }
    }

  private:
    int listener_ = stream_socket();
    std::thread thread_;
};

// The real server's way with a status request: read it, close, then send
// each text on a connection of its own to the reply port.
std::function<void(int)> answering(std::uint16_t reply, std::vector<std::string> texts,
                                   std::string& request) {
    return [reply, texts = std::move(texts), &request](int connection) {
        request = read_all(connection);
        ::shutdown(connection, SHUT_WR);
        for (const std::string& text : texts) {
            deliver(reply, text);
        }
    };
}

// Checks, when it goes, that as many descriptors are open as when it came:
// the client closes every one on every path.
class NoDescriptorLeft {
  public:
    NoDescriptorLeft() : open_(count()) {}
    NoDescriptorLeft(const NoDescriptorLeft&) = delete;
    NoDescriptorLeft& operator=(const NoDescriptorLeft&) = delete;
    ~NoDescriptorLeft() { EXPECT_EQ(count(), open_) << "descriptors left open"; }

  private:
    static long count() {
        const std::filesystem::directory_iterator entries("/proc/self/fd");
        return std::distance(begin(entries), end(entries));
    }
    long open_;
};

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

// Runs the client against port at 127.0.0.1, with replies at reply_port.
Outcome run(std::uint16_t port, std::uint16_t reply_port, const Words& words,
            const std::string& input = "", int interrupt = -1) {
    Words all = {"--port", std::to_string(port), "--reply-port", std::to_string(reply_port)};
    all.insert(all.end(), words.begin(), words.end());
    const client::ParsedArguments parsed = client::parse_arguments(all);
    EXPECT_TRUE(parsed.arguments.has_value()) << parsed.error;
    std::istringstream in(input);
    std::ostringstream out;
    std::ostringstream err;
    client::Client client(parsed.arguments.value_or(client::Arguments{}),
                          client::Console{in, out, err}, interrupt);
    const int status = client.run();
    return Outcome{status, out.str(), err.str()};
}

// The check's line with the measured response time, which varies, as T.
std::string timeless(const std::string& line) {
    static const std::regex measured("response_time=[0-9]+\\.[0-9]{6}s;;;0");
    return std::regex_replace(line, measured, "response_time=Ts;;;0");
}

TEST(ClientTest, StatusPrintsTheReplyItWaitedForAndCheckJudgesIt) {
    struct Case {
        Words words;
        std::vector<std::string> replies;
        Outcome expected;
    };
    const std::string time = " response_time=Ts;;;0\n";
    const std::string both = " | online=1;;;0;1 signal=1;;;0;1" + time;
    const std::string offline = " | online=0;;;0;1 signal=1;;;0;1" + time;
    const std::string dialing = " | online=0;;;0;1" + time;
    const std::string lost = ";;;0;1 signal=0;;;0;1" + time;
    const std::string at_nine = "online, signal present, last dial 9:05pm";
    const std::string at_seven = "dialing, signal not reported, last dial 7:15am";
    const std::vector<Case> cases = {
        {{"status"}, {"STATUS-CONNSIGOK9:05pm"}, {0, at_nine + "\n", ""}},
        {{"status"}, {"na"}, {0, "status not known yet, last dial never\n", ""}},
        {{"--raw", "status"}, {"STATUS-DISCNOSIGna"}, {0, "STATUS-DISCNOSIGna\n", ""}},
        {{"--raw", "status"}, {"whatever it is\r\n"}, {0, "whatever it is\r\n\n", ""}},
        {{"status"},
         {"STATUS-CONNSIGOK25:00pm"},
         {exit_status::not_understood, "",
          "orvanta-client: reply not understood: \"STATUS-CONNSIGOK25:00pm\"\n"}},
        // A message from the operator is no reply; the reply is still due.
        {{"status"},
         {"MESSAGback in five", "", "STATUS-DIALSIGOK7:15am"},
         {0, at_seven + "\n", "orvanta-client: message: back in five\n"}},
        // A monitoring system reads nothing but the check's line.
        {{"check"},
         {"MESSAGback in five", "STATUS-CONNSIGOK9:05pm"},
         {0, "ORVANTA OK - " + at_nine + both, ""}},
        {{"check"},
         {"STATUS-DISCSIGOKna"},
         {1, "ORVANTA WARNING - offline, signal present, last dial never" + offline, ""}},
        {{"--offline", "ok", "check"},
         {"STATUS-DISCSIGOKna"},
         {0, "ORVANTA OK - offline, signal present, last dial never" + offline, ""}},
        {{"check", "--offline=critical"},
         {"STATUS-DISCSIGOKna"},
         {2, "ORVANTA CRITICAL - offline, signal present, last dial never" + offline, ""}},
        {{"check"}, {"STATUS-DIALSIGOK7:15am"}, {1, "ORVANTA WARNING - " + at_seven + dialing, ""}},
        {{"check", "--dialing", "ok"},
         {"STATUS-DIALSIGOK7:15am"},
         {0, "ORVANTA OK - " + at_seven + dialing, ""}},
        {{"check", "--dialing", "critical", "--offline", "ok"},
         {"STATUS-DIALSIGOK7:15am"},
         {2, "ORVANTA CRITICAL - " + at_seven + dialing, ""}},
        // No signal is critical whatever the rest of the mapping says.
        {{"check", "--dialing", "ok", "--unreachable", "critical"},
         {"STATUS-CONNNOSIG12:00am"},
         {2, "ORVANTA CRITICAL - online, no signal, last dial 12:00am | online=1" + lost, ""}},
        {{"check", "--offline", "ok"},
         {"STATUS-DISCNOSIGna"},
         {2, "ORVANTA CRITICAL - offline, no signal, last dial never | online=0" + lost, ""}},
        {{"check"},
         {"na"},
         {3, "ORVANTA UNKNOWN - status not known yet, last dial never |" + time, ""}},
        {{"check", "--offline", "ok"},
         {"STATUS-CONNSIGOK25:00pm"},
         {3, "ORVANTA UNKNOWN - reply not understood: \"STATUS-CONNSIGOK25:00pm\"\n", ""}},
        // Nothing received may end the line early or start performance data.
        {{"check"}, {"a|b\r\nc"}, {3, "ORVANTA UNKNOWN - reply not understood: \"a?b?c\"\n", ""}},
        // A server that takes the request and never replies is there, if slow.
        {{"-t", "0.3", "--unreachable=critical", "check"},
         {},
         {3, "ORVANTA UNKNOWN - no reply from the server within 0.3 s\n", ""}},
    };
    for (const Case& c : cases) {
        const NoDescriptorLeft check;
        const std::uint16_t reply = free_port();
        std::string request;
        FakeServer server(answering(reply, c.replies, request));
        const Outcome result = run(server.port(), reply, c.words);
        server.finish();
        EXPECT_EQ(request, "STATUS");
        EXPECT_EQ(result.status, c.expected.status) << ::testing::PrintToString(c.replies);
        EXPECT_EQ(timeless(result.out), c.expected.out);
        EXPECT_EQ(result.err, c.expected.err);
    }
}

// A failure tells its reason on standard error, but check's one line on
// standard output: UNKNOWN, for it has learnt nothing about the link. A
// command that cannot be done stops before the server, which refuses
// everyone here, is asked.
TEST(ClientTest, ServerNotListeningIsNotReachableAndForCheckUnknownOrCriticalIfAsked) {
    // A port bound and not listening: refused, and no one else can take it.
    const int bound = stream_socket();
    ASSERT_EQ(at_loopback(::bind, bound, 0), 0);
    const std::uint16_t port = port_of(bound);
    const std::string refused =
        "server 127.0.0.1:" + std::to_string(port) + " not reachable: Connection refused\n";
    const FakeServer taken;
    const std::string in_use =
        "reply port " + std::to_string(taken.port()) + " is already in use\n";
    const std::uint16_t reply = free_port();
    struct Case {
        Words words;
        std::uint16_t reply;
        Outcome expected;
    };
    const std::vector<Case> cases = {
        {{"status"}, reply, {exit_status::unreachable, "", "orvanta-client: " + refused}},
        {{"connect"}, reply, {exit_status::unreachable, "", "orvanta-client: " + refused}},
        {{"check"}, reply, {3, "ORVANTA UNKNOWN - " + refused, ""}},
        {{"check", "--unreachable", "critical"}, reply, {2, "ORVANTA CRITICAL - " + refused, ""}},
        // Help and version are no finding either, when check asks for them.
        {{"check", "--help"}, reply, {3, client::usage_text(), ""}},
        {{"-V", "check"}, reply, {3, client::version_text() + "\n", ""}},
        {{"--version"}, reply, {0, client::version_text() + "\n", ""}},
        {{"status"}, taken.port(), {exit_status::reply_port, "", "orvanta-client: " + in_use}},
        {{"check", "--unreachable=critical"}, taken.port(), {3, "ORVANTA UNKNOWN - " + in_use, ""}},
        {{"message", std::string(64 * 1024 - 5, 'x')},
         reply,
         {exit_status::usage, "",
          "orvanta-client: the message is too long: 65531 bytes, at most 65530\n"}},
    };
    for (const Case& c : cases) {
        const NoDescriptorLeft check;
        const Outcome result = run(port, c.reply, c.words);
        EXPECT_EQ(result.status, c.expected.status) << ::testing::PrintToString(c.words);
        EXPECT_EQ(result.out, c.expected.out);
        EXPECT_EQ(result.err, c.expected.err);
    }
    ::close(bound);
}

TEST(ClientTest, StatusOrARequestGivesUpWhenNoReplyOrNoTakerComesWithinTheTimeout) {
    const NoDescriptorLeft check;
    const std::uint16_t reply = free_port();
    std::string request;
    FakeServer server(answering(reply, {}, request));
    const auto start = std::chrono::steady_clock::now();
    const Outcome result = run(server.port(), reply, {"--timeout", "1", "status"});
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(result.status, exit_status::timed_out);
    EXPECT_EQ(result.err, "orvanta-client: no reply from the server within 1 s\n");
    EXPECT_GE(waited, std::chrono::milliseconds(950));
    EXPECT_LT(waited, std::chrono::milliseconds(2000));

    std::atomic<bool> client_gone{false};
    FakeServer stuck([&client_gone](int connection) {
        read_all(connection);
        while (!client_gone) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    });
    const Outcome untaken = run(stuck.port(), free_port(), {"--timeout", "0.3", "connect"});
    client_gone = true;
    EXPECT_EQ(untaken.status, exit_status::timed_out);
    EXPECT_NE(untaken.err.find("did not take the request within 0.3 s"), std::string::npos)
        << untaken.err;
}

TEST(ClientTest, BusyNoticeOrAnotherAnswerOnTheRequestConnectionIsReported) {
    struct Case {
        Words words;
        std::string answer;
        int status;
        std::string says;
    };
    const std::string busy =
        " is busy: it serves as many clients as it can and turned this request away\n";
    const std::vector<Case> cases = {
        {{"status"}, notice, exit_status::busy, busy},
        {{"connect"}, notice, exit_status::busy, busy},
        // The notice is known without its line end.
        {{"message", "hello"}, notice.substr(0, notice.size() - 2), exit_status::busy, busy},
        {{"check"}, notice, 3, busy},
        {{"disconnect"}, "HELLO?", exit_status::not_understood, " answered \"HELLO?\"\n"},
        {{"check"}, "HELLO?", 3, " answered \"HELLO?\"\n"},
        // Reset at once: whatever did that, it did not take the request.
        {{"connect"},
         "",
         exit_status::failed,
         " broke off the connection without taking the request\n"},
    };
    for (const Case& c : cases) {
        // As the real server does: the notice sent and the connection closed
        // at once, whatever the client may still be sending.
        const NoDescriptorLeft check;
        FakeServer server([&c](int connection) {
            if (c.answer.empty()) {
                const linger abort{1, 0};
                ::setsockopt(connection, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
            }
            send_text(connection, c.answer);
        });
        const Outcome result = run(server.port(), free_port(), c.words);
        const std::string said = "server 127.0.0.1:" + std::to_string(server.port()) + c.says;
        EXPECT_EQ(result.status, c.status) << c.words[0];
        const bool plugin = c.words[0] == "check";
        EXPECT_EQ(result.out, plugin ? "ORVANTA UNKNOWN - " + said : "");
        EXPECT_EQ(result.err, plugin ? "" : "orvanta-client: " + said);
    }
}

TEST(ClientTest, RequestsSendTheirExactBytesAndEndWhenTheServerTakesThem) {
    struct Case {
        Words words;
        std::string input;
        std::string sent;
    };
    const std::vector<Case> cases = {
        {{"connect"}, "", "CONNEC"},
        {{"disconnect"}, "", "DISCON"},
        {{"message", "Grüße € 5\nsecond line"},
         "",
         "MESSAGGr\xFC\xDF"
         "e \x80 5\r\nsecond line"},
        {{"message", ""}, "", "MESSAG"},
        {{"message", "--", "-5 degrees"}, "", "MESSAG-5 degrees"},
        {{"message", "-"}, "from a pipe\nand more\n", "MESSAGfrom a pipe\r\nand more"},
        {{"message", "-"}, "kept\r\n\r\n", "MESSAGkept\r\n"},
    };
    for (const Case& c : cases) {
        std::string request;
        FakeServer server([&request](int connection) { request = read_all(connection); });
        const Outcome result = run(server.port(), free_port(), c.words, c.input);
        server.finish();
        EXPECT_EQ(result.status, exit_status::done) << result.err;
        EXPECT_EQ(request, c.sent);
        EXPECT_EQ(result.out + result.err, "");
    }
}

TEST(ClientTest, ListenPrintsEachArrivalUntilTheCountIsReachedOrItIsInterrupted) {
    const NoDescriptorLeft check;
    const std::uint16_t reply = free_port();
    std::thread sender([reply] {
        for (const std::string text : {"STATUS-CONNSIGOKna", "MESSAGhello\r\nworld", "", "??"}) {
            deliver(reply, text);
        }
    });
    const Outcome result = run(free_port(), reply, {"listen", "--count", "3"});
    sender.join();
    EXPECT_EQ(result.status, exit_status::done);
    // The empty arrival is none.
    EXPECT_EQ(result.out,
              "status: online, signal present, last dial never\n"
              "message: hello\n  world\n"
              "not understood: \"??\"\n");

    int stop[2];
    ASSERT_EQ(::pipe(stop), 0);
    ASSERT_EQ(::write(stop[1], "s", 1), 1);
    const Outcome interrupted = run(free_port(), free_port(), {"listen"}, "", stop[0]);
    ::close(stop[0]);
    ::close(stop[1]);
    EXPECT_EQ(interrupted.status, exit_status::done);
    EXPECT_EQ(interrupted.out, "");
}

}  // namespace
