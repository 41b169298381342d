#include "platform/qt/qt_socket_pending.h"

namespace platform::qt {

namespace {
void drop(QTcpSocket* socket) {
    socket->abort();
    // Later: a pending connection may be inside one of its own signals.
    socket->deleteLater();
}
}  // namespace

PendingConnections::~PendingConnections() {
    for (const auto& [id, socket] : sockets_) {
        drop(socket);
    }
}

long PendingConnections::add(QTcpSocket* socket) {
    sockets_.emplace(++last_id_, socket);
    return last_id_;
}

QTcpSocket* PendingConnections::take(long request_id) {
    const auto found = sockets_.find(request_id);
    if (found == sockets_.end()) {
        return nullptr;
    }
    QTcpSocket* socket = found->second;
    sockets_.erase(found);
    return socket;
}

void PendingConnections::refuse(long request_id) {
    if (QTcpSocket* socket = take(request_id)) {
        drop(socket);
    }
}

}  // namespace platform::qt
