#pragma once

#include <QTcpSocket>
#include <map>

namespace platform::qt {

// The connections that listeners have taken from the system and offered
// through ConnectionRequest, by request id, until a socket accepts one or
// the listener refuses it. One table serves all sockets of a network, since
// the socket that accepts is another than the one that listens.
class PendingConnections {
  public:
    PendingConnections() = default;
    PendingConnections(const PendingConnections&) = delete;
    PendingConnections& operator=(const PendingConnections&) = delete;
    ~PendingConnections();

    // Keeps the connection, which has no parent, and gives it a fresh id.
    long add(QTcpSocket* socket);
    // Hands the connection over to the caller; nullptr for an unknown id.
    QTcpSocket* take(long request_id);
    // Closes the connection if nobody has taken it.
    void refuse(long request_id);

  private:
    std::map<long, QTcpSocket*> sockets_;
    long last_id_ = 0;
};

}  // namespace platform::qt
