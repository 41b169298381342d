#include "client/client.h"

#include <chrono>
#include <istream>
#include <iterator>
#include <ostream>
#include <utility>

#include "client/check.h"
#include "client/reply.h"
#include "server/listener_sessions.h"
#include "util/cp1252.h"

namespace client {

namespace {

// Replies are a code and a time, messages a few hundred characters; what
// goes far beyond is no reply of the server's.
constexpr std::size_t reply_limit = 64 * 1024;
// On the request connection the server sends nothing but its busy notice.
constexpr std::size_t notice_limit = 1024;

// The message as the server takes it: Windows-1252, lines ending in CR LF.
std::string message_bytes(std::string_view text) {
    std::string crlf;
    crlf.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) {
            crlf += '\r';
        }
        crlf += text[i];
    }
    return util::to_cp1252(crlf);
}

// Standard input without the one line end that echo and editors add.
std::string without_final_line_end(std::string text) {
    if (!text.empty() && text.back() == '\n') {
        text.pop_back();
        if (!text.empty() && text.back() == '\r') {
            text.pop_back();
        }
    }
    return text;
}

}  // namespace

Client::Client(Arguments arguments, Console console, int interrupt)
    : arguments_(std::move(arguments)), console_(console), interrupt_(interrupt) {}

int Client::run() {
    // A plugin's help and version are no finding about the link.
    const int answered =
        arguments_.plugin ? static_cast<int>(PluginState::unknown) : exit_status::done;
    switch (arguments_.command) {
        case Command::help:
            console_.out << usage_text();
            return answered;
        case Command::version:
            console_.out << version_text() << '\n';
            return answered;
        case Command::status:
            return status();
        case Command::check:
            return check();
        case Command::connect:
            return request("CONNEC");
        case Command::disconnect:
            return request("DISCON");
        case Command::message:
            return message();
        case Command::listen:
            return listen();
    }
    return exit_status::failed;
}

int Client::fail(const Outcome& outcome) {
    console_.err << "orvanta-client: " << outcome.reason << '\n';
    return outcome.status;
}

std::string Client::timeout_text() const {
    const auto milliseconds = arguments_.timeout.count();
    std::string text = std::to_string(milliseconds / 1000);
    if (milliseconds % 1000 != 0) {
        std::string fraction = std::to_string(1000 + milliseconds % 1000).substr(1);
        fraction.erase(fraction.find_last_not_of('0') + 1);
        text += "." + fraction;
    }
    return text + " s";
}

Client::Outcome Client::prepare(const tcp::Deadline& deadline, tcp::Descriptor& listener) {
    tcp::Result found = tcp::resolve(arguments_.server, arguments_.port, deadline, server_);
    if (!found.ok()) {
        return {exit_status::unreachable,
                "server " + arguments_.server + " not found: " + found.text};
    }
    sockaddr_in own{};
    own.sin_family = AF_INET;
    own.sin_port = htons(arguments_.reply_port);
    found = tcp::local_address_towards(server_, own.sin_addr);
    if (!found.ok()) {
        return {exit_status::unreachable,
                "server " + tcp::address_text(server_) + " not reachable: " + found.text};
    }
    const tcp::Result opened = tcp::listen_on(own, listener);
    if (opened.problem == tcp::Problem::in_use) {
        return {exit_status::reply_port,
                "reply port " + std::to_string(arguments_.reply_port) + " is already in use"};
    }
    if (!opened.ok()) {
        return {exit_status::reply_port,
                "cannot listen on reply port " + tcp::address_text(own) + ": " + opened.text};
    }
    return {};
}

Client::Outcome Client::send_request(std::string_view bytes, const tcp::Deadline& deadline) {
    const std::string where = tcp::address_text(server_);
    tcp::Descriptor connection;
    const tcp::Result connected = tcp::connect_to(server_, deadline, connection);
    if (connected.problem == tcp::Problem::reset) {
        return {exit_status::failed,
                "server " + where + " broke off the connection without taking the request"};
    }
    if (!connected.ok()) {
        return {exit_status::unreachable, "server " + where + " not reachable: " + connected.text};
    }
    // A server at its limit sends its notice and closes at once, perhaps
    // before our request is through; the notice then still waits to be read.
    tcp::Result sent = tcp::send_all(connection, bytes, deadline);
    if (sent.ok()) {
        sent = tcp::shut_sending(connection);
    }
    std::string answer;
    const tcp::Result read = tcp::read_to_end(connection, deadline, -1, notice_limit, answer);
    if (is_busy_notice(answer)) {
        return {exit_status::busy, "server " + where + " is busy: it serves as many clients " +
                                       "as it can and turned this request away"};
    }
    if (!answer.empty()) {
        return {exit_status::not_understood,
                "server " + where + " answered " + describe(interpret_reply(answer))};
    }
    if (sent.problem == tcp::Problem::timed_out || read.problem == tcp::Problem::timed_out) {
        return {exit_status::timed_out,
                "server " + where + " did not take the request within " + timeout_text()};
    }
    if (read.problem == tcp::Problem::reset || sent.problem == tcp::Problem::reset) {
        // Not the server's way of taking a request: it reads it and closes.
        return {exit_status::failed,
                "server " + where + " broke off the connection without taking the request"};
    }
    if (!sent.ok()) {
        return {exit_status::failed, "sending to server " + where + " failed: " + sent.text};
    }
    if (!read.ok()) {
        return {exit_status::failed, "reading from server " + where + " failed: " + read.text};
    }
    return {};
}

int Client::request(std::string_view bytes) {
    const tcp::Deadline deadline = tcp::Deadline::after(arguments_.timeout);
    const tcp::Result found = tcp::resolve(arguments_.server, arguments_.port, deadline, server_);
    if (!found.ok()) {
        return fail({exit_status::unreachable,
                     "server " + arguments_.server + " not found: " + found.text});
    }
    const Outcome sent = send_request(bytes, deadline);
    return sent.done() ? exit_status::done : fail(sent);
}

int Client::message() {
    std::string text = arguments_.message;
    if (arguments_.message_from_stdin) {
        text.assign(std::istreambuf_iterator<char>(console_.in), {});
        if (console_.in.bad()) {
            return fail({exit_status::failed, "cannot read the message from standard input"});
        }
        text = without_final_line_end(std::move(text));
    }
    const std::string bytes = "MESSAG" + message_bytes(text);
    // The server drops a request beyond this unread.
    if (bytes.size() > server::ListenerSessions::buffer_limit) {
        return fail(
            {exit_status::usage, "the message is too long: " + std::to_string(bytes.size() - 6) +
                                     " bytes, at most " +
                                     std::to_string(server::ListenerSessions::buffer_limit - 6)});
    }
    return request(bytes);
}

Client::Outcome Client::ask_status(const tcp::Deadline& deadline, bool show_messages,
                                   Reply& reply) {
    // The reply port must listen before the server is asked: it answers as
    // soon as the request ends.
    tcp::Descriptor listener;
    if (Outcome prepared = prepare(deadline, listener); !prepared.done()) {
        return prepared;
    }
    if (Outcome sent = send_request("STATUS", deadline); !sent.done()) {
        return sent;
    }
    for (;;) {
        tcp::Descriptor connection;
        tcp::Result result = tcp::accept_one(listener, deadline, -1, connection);
        std::string bytes;
        if (result.ok()) {
            result = tcp::read_to_end(connection, deadline, -1, reply_limit, bytes);
        }
        if (result.problem == tcp::Problem::reset) {
            continue;  // no reply, just a broken connection
        }
        if (result.problem == tcp::Problem::timed_out) {
            return {exit_status::timed_out, "no reply from the server within " + timeout_text()};
        }
        if (result.problem == tcp::Problem::too_long) {
            return {exit_status::not_understood, "the reply is too long: " + result.text};
        }
        if (!result.ok()) {
            return {exit_status::failed, "receiving the reply failed: " + result.text};
        }
        if (bytes.empty()) {
            continue;  // a connection that brought nothing is no reply
        }
        reply = interpret_reply(bytes);
        if (reply.kind != Reply::Kind::message) {
            return {};
        }
        // The operator wrote to us while we waited; the reply is still due.
        if (show_messages) {
            console_.err << "orvanta-client: " << arrival_line(reply) << '\n';
        }
    }
}

int Client::status() {
    Reply reply;
    const Outcome asked = ask_status(tcp::Deadline::after(arguments_.timeout), true, reply);
    if (!asked.done()) {
        return fail(asked);
    }
    if (arguments_.raw) {
        console_.out << raw_text(reply) << '\n';
        return exit_status::done;
    }
    if (reply.kind == Reply::Kind::not_understood) {
        return fail({exit_status::not_understood, "reply not understood: " + describe(reply)});
    }
    console_.out << describe(reply) << '\n';
    return exit_status::done;
}

int Client::check() {
    const auto start = std::chrono::steady_clock::now();
    Reply reply;
    // A monitoring system reads one line; an operator's message is not for it.
    const Outcome asked = ask_status(tcp::Deadline::after(arguments_.timeout), false, reply);
    Verdict verdict;
    if (asked.done()) {
        verdict = judge_reply(reply,
                              std::chrono::duration_cast<std::chrono::microseconds>(
                                  std::chrono::steady_clock::now() - start),
                              arguments_.mapping);
    } else {
        verdict.state = asked.status == exit_status::unreachable ? arguments_.mapping.unreachable
                                                                 : PluginState::unknown;
        verdict.text = asked.reason;
    }
    console_.out << plugin_line(verdict) << '\n';
    return static_cast<int>(verdict.state);
}

int Client::listen() {
    tcp::Descriptor listener;
    if (const Outcome prepared = prepare(tcp::Deadline::after(arguments_.timeout), listener);
        !prepared.done()) {
        return fail(prepared);
    }
    unsigned arrived = 0;
    while (!arguments_.count || arrived < *arguments_.count) {
        tcp::Descriptor connection;
        tcp::Result result =
            tcp::accept_one(listener, tcp::Deadline::never(), interrupt_, connection);
        std::string bytes;
        if (result.ok()) {
            // The wait for an arrival has no end; reading one has.
            result = tcp::read_to_end(connection, tcp::Deadline::after(arguments_.timeout),
                                      interrupt_, reply_limit, bytes);
        }
        if (result.problem == tcp::Problem::interrupted) {
            break;
        }
        if (result.problem == tcp::Problem::reset) {
            continue;
        }
        if (result.problem == tcp::Problem::timed_out || result.problem == tcp::Problem::too_long) {
            console_.err << "orvanta-client: dropped an arrival that "
                         << (result.problem == tcp::Problem::timed_out
                                 ? "did not end within " + timeout_text()
                                 : "was too long")
                         << '\n';
            continue;
        }
        if (!result.ok()) {
            return fail({exit_status::failed, "receiving failed: " + result.text});
        }
        if (bytes.empty()) {
            continue;
        }
        const Reply reply = interpret_reply(bytes);
        console_.out << (arguments_.raw ? raw_text(reply) : arrival_line(reply)) << std::endl;
        ++arrived;
    }
    return exit_status::done;
}

}  // namespace client
