#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <map>
#include <set>
#include <string>

#include "platform/clock.h"
#include "platform/events.h"
#include "platform/metrics.h"
#include "server/client_filter.h"
#include "server/listener_sockets.h"
#include "ui/status_log.h"

namespace server {

// The receiving side of the server: accepts clients on the lowest free
// session element, collects what each sends, and hands the whole request to
// the request handler when the client closes. The highest element takes
// only connections beyond the session limit, to tell them so.
class ListenerSessions {
  public:
    // A session that sends more than this is broken off unprocessed: a
    // request is a keyword and a few hundred characters at most.
    static constexpr std::size_t buffer_limit = 64 * 1024;
    static constexpr const char* overflow_notice =
        "MAXIMUM CONCURRENT SESSIONS REACHED - TERMINATING SESSION.\r\n";

    using ProcessData = std::function<void(const std::string& data, const std::string& address)>;

    ListenerSessions(ListenerSockets& sockets, ui::StatusLog& log, platform::Events& events,
                     const platform::Clock& clock, platform::Metrics& metrics,
                     ProcessData process_data);

    // From now on the server talks only to the clients the filter allows;
    // others are turned away at once, unread and unprocessed, with at most
    // one log block a minute for each address.
    void only_talk_to(ClientFilter filter) { filter_ = std::move(filter); }

    // Every 250 ms: closes the elements left closing or broken, discarding
    // whatever they had received.
    void SOCKET_CLOSER_TIMER_Timer();

  private:
    void attach(int index, platform::Winsock& socket);
    void WS_LISTENER_ConnectionRequest(long request_id);
    void WS_LISTENER_DataArrival(int index);
    void WS_LISTENER_Close(int index);
    bool free(int index);
    // Whether a client at address may talk to the server; tells of one
    // that may not.
    bool allowed(const std::string& address);
    bool overflow(int index) const;
    // Tells the metrics how many session elements are taken.
    void count_sessions();

    ListenerSockets& sockets_;
    ui::StatusLog& log_;
    platform::Events& events_;
    const platform::Clock& clock_;
    platform::Metrics& metrics_;
    ProcessData process_data_;
    ClientFilter filter_;
    // When each refused address was last logged.
    std::map<std::string, std::chrono::milliseconds> refusals_logged_;
    // Elements that sent too much: in error, like a broken connection.
    std::set<int> broken_;
};

}  // namespace server
