#pragma once

#include <QHostAddress>
#include <QMetaObject>
#include <QTcpServer>
#include <QTcpSocket>
#include <cstdint>
#include <functional>
#include <memory>

namespace platform::qt {

// Listens on all interfaces and hands on the incoming connections one per
// pass of the event loop. Taking the whole backlog at once would offer every
// waiting client before the data and closes of the sessions already accepted
// are seen; one at a time, those are handled in between.
class SocketListener {
  public:
    // Receives each connection, without a parent, and owns it from then on.
    using Arrival = std::function<void(QTcpSocket* connection)>;

    // How many connections may wait, in the system and in Qt.
    static constexpr int backlog = 128;

    // Port 0 takes any free port. Throws platform::Failure if the port is
    // taken or listening fails.
    SocketListener(std::uint16_t port, Arrival arrival);
    SocketListener(const SocketListener&) = delete;
    SocketListener& operator=(const SocketListener&) = delete;
    // Stops listening at once and refuses the connections still waiting. An
    // arrival handler may destroy its listener.
    ~SocketListener();

    // The port listened on.
    std::uint16_t port() const;

    // The client's address of a connection handed on by a listener. Qt
    // forgets a socket's peer once it has read the connection to its end,
    // which a client that sends and closes at once reaches while it waits
    // its turn; the listener notes the address as the connection arrives.
    static QHostAddress peer_of(const QTcpSocket& connection);

  private:
    struct DeleteLater {
        void operator()(QObject* object) const { object->deleteLater(); }
    };

    void schedule();
    void hand_on_one();

    std::unique_ptr<QTcpServer, DeleteLater> server_;
    Arrival arrival_;
    QMetaObject::Connection arrivals_;
    // A pass is scheduled or running: newly arrived connections wait for it.
    bool scheduled_ = false;
    // Expires with this object, for the calls queued on the event loop.
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
};

}  // namespace platform::qt
