#include "closing_order.h"

#include <arpa/inet.h>
#include <sys/socket.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <system_error>

#include "app/form1.h"
#include "fd.h"
#include "net.h"

namespace bench {

namespace {

using Clock = std::chrono::steady_clock;
constexpr int clients = 4;
constexpr std::chrono::seconds patience{2};

// A client at 127.0.0.n that has connected and sent its message.
Fd client(int n, std::uint16_t port) {
    Fd fd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    sockaddr_in from = loopback(0);
    from.sin_addr.s_addr = htonl(INADDR_LOOPBACK - 1 + static_cast<std::uint32_t>(n));
    const sockaddr_in to = loopback(port);
    if (!fd || ::bind(fd.get(), reinterpret_cast<const sockaddr*>(&from), sizeof from) != 0 ||
        ::connect(fd.get(), reinterpret_cast<const sockaddr*>(&to), sizeof to) != 0) {
        throw std::system_error(errno, std::generic_category(), "closing order: connect");
    }
    send_all(fd.get(), "MESSAG" + std::to_string(n));
    return fd;
}

int connected_sessions(app::Form1& form1) {
    int connected = 0;
    for (int i = 1; i <= form1.listeners().UBound(); ++i) {
        connected += form1.listeners().WS_LISTENER(i).State() == platform::Winsock::sckConnected;
    }
    return connected;
}

std::string shown_text(app::Form1& form1) {
    const auto* form = form1.received_messages().form();
    return form == nullptr ? std::string() : form->MESSAGES_LIST.text();
}

// Serves until `done` holds or the time runs out; whether it held.
template <typename Done>
bool serve_until(OrvantaUnderTest& orvanta, Done done, std::chrono::milliseconds time = patience) {
    const auto deadline = Clock::now() + time;
    orvanta.serve_until([&] { return done() || Clock::now() > deadline; });
    return done();
}

// The messages shown in one trial.
std::vector<ShownMessage> trial(OrvantaUnderTest& orvanta, const ClosingOrderOptions& options) {
    app::Form1& form1 = orvanta.form1();
    std::array<Fd, clients> fds;
    for (int n = 1; n <= clients; ++n) {
        fds[static_cast<std::size_t>(n - 1)] = client(n, orvanta.port());
    }
    if (!serve_until(orvanta, [&] { return connected_sessions(form1) >= clients; })) {
        return {};
    }
    for (const int n : options.order) {
        fds.at(static_cast<std::size_t>(n - 1)).reset();
        if (options.pause.count() > 0) {
            serve_until(
                orvanta, [] { return false; }, options.pause);
        }
    }
    serve_until(orvanta, [&] { return parse_shown_messages(shown_text(form1)).size() >= clients; });
    std::vector<ShownMessage> shown = parse_shown_messages(shown_text(form1));
    if (auto* form = form1.received_messages().form()) {
        form->MESSAGES_LIST.set_text("");
    }
    return shown;
}

}  // namespace

std::vector<ShownMessage> parse_shown_messages(std::string_view text) {
    constexpr std::string_view from = " from IP Address ";
    constexpr std::string_view between = "...\r\n  ";
    std::vector<ShownMessage> messages;
    for (std::size_t at = text.find(from); at != std::string_view::npos; at = text.find(from, at)) {
        at += from.size();
        const std::size_t address_end = text.find(between, at);
        const std::size_t message_end = address_end == std::string_view::npos
                                            ? address_end
                                            : text.find("\r\n", address_end + between.size());
        if (message_end == std::string_view::npos) {
            break;
        }
        const std::size_t message_start = address_end + between.size();
        messages.push_back({std::string(text.substr(at, address_end - at)),
                            std::string(text.substr(message_start, message_end - message_start))});
        at = message_end;
    }
    return messages;
}

ClosingOrder run_closing_order(OrvantaUnderTest& orvanta, const ClosingOrderOptions& options) {
    std::vector<ShownMessage> expected;
    for (const int n : options.order) {
        expected.push_back({"127.0.0." + std::to_string(n), std::to_string(n)});
    }
    ClosingOrder result;
    for (; result.trials < options.trials; ++result.trials) {
        const std::vector<ShownMessage> shown = trial(orvanta, options);
        result.in_order += shown == expected;
        result.incomplete += shown.size() < expected.size();
        std::string order;
        for (const ShownMessage& message : shown) {
            order += message.text;
        }
        ++result.orders[order];
    }
    return result;
}

std::vector<Row> closing_order_rows(OrvantaUnderTest& orvanta, int trials) {
    std::fprintf(stderr, "Closing order: %d trials of four messages closed back to back\n", trials);
    const ClosingOrder result = run_closing_order(orvanta, {.trials = trials});
    std::fprintf(stderr,
                 "  %d of %d in closing order, %d incomplete; orders seen:", result.in_order,
                 result.trials, result.incomplete);
    for (const auto& [order, count] : result.orders) {
        std::fprintf(stderr, " %s %d times,", order.c_str(), count);
    }
    std::fprintf(stderr, "\n");
    return {{"Closing order kept, of " + std::to_string(trials) + " trials", "trials",
             static_cast<double>(result.in_order), std::nullopt,
             Goal{Goal::Kind::AtLeast, trials * 195.0 / 200.0}, 0}};
}

}  // namespace bench
