#pragma once

#include <cstdint>
#include <string>

namespace platform {

// What the program counts and shows to a monitoring system. Every call
// comes from the program's one thread and returns at once; an
// implementation that serves the figures (from threads of its own) only
// reads what these calls set.
class Metrics {
  public:
    enum class DialOrigin { Local, Client, Redial };
    enum class HangUpOrigin { Local, Client };

    Metrics() = default;
    Metrics(const Metrics&) = delete;
    Metrics& operator=(const Metrics&) = delete;
    virtual ~Metrics() = default;

    // The link as a poll classified it: connected, dialing, the signal, the
    // status code, and when, in seconds since 1970.
    virtual void link_polled(bool connected, bool dialing, bool signal,
                             const std::string& status_code, std::int64_t unix_time) = 0;
    // A poll whose navigator failed.
    virtual void poll_failed() = 0;
    // A request processed, by its first six characters: "STATUS", "CONNEC",
    // "DISCON" and "MESSAG" count as themselves, anything else as "other".
    virtual void request(const std::string& keyword) = 0;
    // A client beyond the session limit, turned away with the notice.
    virtual void session_refused() = 0;
    // A client whose address the server does not talk to.
    virtual void client_not_allowed() = 0;
    // A status reply or an operator's message that went out, or failed.
    virtual void delivery(bool sent) = 0;
    // A dial passed on to the navigator, and who asked for it.
    virtual void dial(DialOrigin origin) = 0;
    // A hang-up passed on to the navigator, and who asked for it.
    virtual void hang_up(HangUpOrigin origin) = 0;
    // How many sessions are open, and how many clients the table knows.
    virtual void sessions_open(int count) = 0;
    virtual void clients_known(int count) = 0;
};

// Metrics that nobody asked for: every call does nothing.
class NoMetrics final : public Metrics {
  public:
    void link_polled(bool, bool, bool, const std::string&, std::int64_t) override {}
    void poll_failed() override {}
    void request(const std::string&) override {}
    void session_refused() override {}
    void client_not_allowed() override {}
    void delivery(bool) override {}
    void dial(DialOrigin) override {}
    void hang_up(HangUpOrigin) override {}
    void sessions_open(int) override {}
    void clients_known(int) override {}
};

}  // namespace platform
