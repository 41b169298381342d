#include "server/listener_sessions.h"

#include "platform/failure.h"
#include "util/cp1252.h"

namespace server {

using platform::Winsock;

ListenerSessions::ListenerSessions(ListenerSockets& sockets, ui::StatusLog& log,
                                   platform::Events& events, const platform::Clock& clock,
                                   platform::Metrics& metrics, ProcessData process_data)
    : sockets_(sockets),
      log_(log),
      events_(events),
      clock_(clock),
      metrics_(metrics),
      process_data_(std::move(process_data)) {
    sockets_.WS_LISTENER(0).on_ConnectionRequest(
        [this](long request_id) { WS_LISTENER_ConnectionRequest(request_id); });
    sockets_.on_load([this](int index, Winsock& socket) { attach(index, socket); });
}

void ListenerSessions::attach(int index, Winsock& socket) {
    broken_.erase(index);
    socket.on_DataArrival([this, index](long) { WS_LISTENER_DataArrival(index); });
    socket.on_Close([this, index] { WS_LISTENER_Close(index); });
}

bool ListenerSessions::free(int index) {
    return sockets_.WS_LISTENER(index).State() == Winsock::sckClosed && broken_.count(index) == 0;
}

bool ListenerSessions::allowed(const std::string& address) {
    if (filter_.allows(address)) {
        return true;
    }
    metrics_.client_not_allowed();
    // A scan of many ports, or a client that keeps trying, would flood the
    // log: one block a minute for each address.
    constexpr std::chrono::minutes quiet{1};
    const std::chrono::milliseconds now = clock_.steady_now();
    const auto logged = refusals_logged_.find(address);
    if (logged == refusals_logged_.end() || now - logged->second >= quiet) {
        // Addresses quiet for a minute are forgotten, so a scan from many
        // addresses leaves no more behind than one minute's worth.
        std::erase_if(refusals_logged_,
                      [&](const auto& entry) { return now - entry.second >= quiet; });
        refusals_logged_[address] = now;
        log_.write("     Refused a client not allowed", "     (IP:" + address + ")");
    }
    return false;
}

void ListenerSessions::WS_LISTENER_ConnectionRequest(long request_id) {
    // Not accepted: the platform closes the connection at once, unread.
    if (!allowed(sockets_.WS_LISTENER(0).RemoteHostIP())) {
        return;
    }
    const int highest = sockets_.UBound();
    for (int i = 1; i < highest; ++i) {
        if (free(i)) {
            sockets_.WS_LISTENER(i).Accept(request_id);
            count_sessions();
            return;
        }
    }
    // Without an overflow element, or with it still busy telling an earlier
    // client, the connection is refused without a word.
    if (highest < 1 || !free(highest)) {
        return;
    }
    Winsock& overflow = sockets_.WS_LISTENER(highest);
    overflow.Accept(request_id);
    metrics_.session_refused();
    overflow.SendData(overflow_notice);
    events_.do_events();
    // The program may have begun to end meanwhile, and destroyed the element.
    if (sockets_.UBound() != highest) {
        return;
    }
    log_.write("     Cant accept any more connections!",
               "     (IP:" + overflow.RemoteHostIP() + ")");
    overflow.Close();
    sockets_.WS_LISTENER_SCKDATA(highest).clear();
}

// The highest element is the overflow element only while it is the highest:
// the limit follows from how many elements start-up loaded.
bool ListenerSessions::overflow(int index) const {
    return index == sockets_.UBound();
}

void ListenerSessions::WS_LISTENER_DataArrival(int index) {
    Winsock& socket = sockets_.WS_LISTENER(index);
    std::string& buffer = sockets_.WS_LISTENER_SCKDATA(index);
    const std::string data = socket.GetData();
    // What a client turned away sends is no request; it is read and dropped.
    if (overflow(index) || broken_.count(index) != 0) {
        return;
    }
    if (buffer.size() + data.size() > buffer_limit) {
        broken_.insert(index);
        buffer.clear();
        return;
    }
    buffer += data;
}

void ListenerSessions::WS_LISTENER_Close(int index) {
    // A client turned away that closes first is no request either: the
    // connection request that took it closes the element.
    if (overflow(index)) {
        return;
    }
    Winsock& socket = sockets_.WS_LISTENER(index);
    if (broken_.count(index) != 0) {
        return;  // left to the closer timer, unprocessed
    }
    const std::string address = socket.RemoteHostIP();
    socket.Close();
    count_sessions();
    const std::string data = util::from_cp1252(sockets_.WS_LISTENER_SCKDATA(index));
    sockets_.WS_LISTENER_SCKDATA(index).clear();
    process_data_(data, address);
}

void ListenerSessions::SOCKET_CLOSER_TIMER_Timer() {
    const int highest = sockets_.UBound();
    bool closed = false;
    for (int i = 1; i <= highest; ++i) {
        Winsock& socket = sockets_.WS_LISTENER(i);
        if (socket.State() > Winsock::sckConnected || broken_.count(i) != 0) {
            socket.Close();
            sockets_.WS_LISTENER_SCKDATA(i).clear();
            broken_.erase(i);
            closed = true;
        }
    }
    if (closed) {
        count_sessions();
    }
}

void ListenerSessions::count_sessions() {
    int taken = 0;
    for (int i = 1; i < sockets_.UBound(); ++i) {
        taken += free(i) ? 0 : 1;
    }
    metrics_.sessions_open(taken);
}

}  // namespace server
