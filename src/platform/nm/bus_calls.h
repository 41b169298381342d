#pragma once

#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMessage>
#include <QObject>
#include <functional>
#include <list>

class QDBusPendingCallWatcher;

namespace platform::nm {

// Method calls on one bus connection, each sent without waiting for its
// reply; the reply is handed to a callback from the event loop. Only the
// start-up waits, through settle(), for everything it asked.
class BusCalls {
  public:
    using OnReply = std::function<void(const QDBusMessage& reply)>;
    using OnError = std::function<void(const QDBusError& error)>;

    explicit BusCalls(QDBusConnection connection);
    BusCalls(const BusCalls&) = delete;
    BusCalls& operator=(const BusCalls&) = delete;
    // Replies still to come are dropped.
    ~BusCalls();

    QDBusConnection& connection() { return connection_; }

    // Sends `call`; exactly one of the callbacks runs later, never inside send.
    void send(const QDBusMessage& call, int timeout_ms, OnReply on_reply, OnError on_error);
    // Properties.GetAll of one interface, its answer as a map.
    void get_all(const QString& service, const QString& path, const QString& interface,
                 std::function<void(const QVariantMap&)> on_reply, OnError on_error);

    // Waits until every call sent so far, and every call that their callbacks
    // send in turn, has had its reply or error and its callback.
    void settle();

  private:
    struct Pending {
        QDBusPendingCallWatcher* watcher;
        OnReply on_reply;
        OnError on_error;
    };
    void finish(QDBusPendingCallWatcher* watcher);

    QDBusConnection connection_;
    // Parent of the watchers, so that none outlives this object.
    QObject owner_;
    std::list<Pending> pending_;
};

// Timeouts of the calls: reading properties answers at once on a working
// system; activating may wait for an operator to answer polkit's question.
inline constexpr int read_timeout_ms = 5000;
inline constexpr int command_timeout_ms = 120000;

}  // namespace platform::nm
