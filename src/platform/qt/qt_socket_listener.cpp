#include "platform/qt/qt_socket_listener.h"

#include <unistd.h>

#include <string>

#include "platform/failure.h"

namespace platform::qt {

namespace {

constexpr const char* peer_property = "orvanta_peer_address";

// A server that notes each connection's peer address the moment it accepts it.
class AddressNotingServer : public QTcpServer {
  protected:
    void incomingConnection(qintptr descriptor) override {
        auto* connection = new QTcpSocket(this);
        if (!connection->setSocketDescriptor(descriptor)) {
            delete connection;
            ::close(static_cast<int>(descriptor));
            return;
        }
        connection->setProperty(peer_property, QVariant::fromValue(connection->peerAddress()));
        addPendingConnection(connection);
    }
};

}  // namespace

SocketListener::SocketListener(std::uint16_t port, Arrival arrival)
    : server_(new AddressNotingServer), arrival_(std::move(arrival)) {
    server_->setMaxPendingConnections(backlog);
    server_->setListenBacklogSize(backlog);
    if (!server_->listen(QHostAddress::Any, port)) {
        throw platform::Failure("cannot listen on port " + std::to_string(port) + ": " +
                                server_->errorString().toStdString());
    }
    arrivals_ = QObject::connect(server_.get(), &QTcpServer::newConnection, server_.get(),
                                 [this] { schedule(); });
}

SocketListener::~SocketListener() {
    QObject::disconnect(arrivals_);
    // Frees the port now, so that it can be listened on again at once.
    server_->close();
}

std::uint16_t SocketListener::port() const {
    return server_->serverPort();
}

QHostAddress SocketListener::peer_of(const QTcpSocket& connection) {
    const QVariant noted = connection.property(peer_property);
    return noted.isValid() ? noted.value<QHostAddress>() : connection.peerAddress();
}

void SocketListener::schedule() {
    if (scheduled_) {
        return;
    }
    scheduled_ = true;
    const std::weak_ptr<int> alive = alive_;
    QMetaObject::invokeMethod(
        server_.get(),
        [this, alive] {
            if (!alive.expired()) {
                hand_on_one();
            }
        },
        Qt::QueuedConnection);
}

void SocketListener::hand_on_one() {
    if (QTcpSocket* connection = server_->nextPendingConnection()) {
        // The server would delete it with itself.
        connection->setParent(nullptr);
        const std::weak_ptr<int> alive = alive_;
        // A copy: the handler may destroy this listener.
        const Arrival arrival = arrival_;
        arrival(connection);
        if (alive.expired()) {
            return;
        }
    }
    scheduled_ = false;
    if (server_->hasPendingConnections()) {
        schedule();
    }
}

}  // namespace platform::qt
