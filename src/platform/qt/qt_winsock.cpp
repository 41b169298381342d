#include "platform/qt/qt_winsock.h"

#include <QHostAddress>
#include <utility>

#include "platform/failure.h"
#include "platform/qt/guarded.h"
#include "platform/qt/qt_socket_closer.h"
#include "platform/qt/qt_socket_errors.h"
#include "platform/qt/qt_socket_host.h"

namespace platform::qt {

namespace {

constexpr std::string_view subject = "Winsock";

// Clients reach a listener on all interfaces through IPv6 as well, where an
// IPv4 client shows as ::ffff:a.b.c.d; the program knows it as a.b.c.d.
std::string address_text(const QHostAddress& address) {
    if (address.isNull()) {
        return {};
    }
    bool is_ipv4 = false;
    const quint32 ipv4 = address.toIPv4Address(&is_ipv4);
    return (is_ipv4 ? QHostAddress(ipv4) : address).toString().toStdString();
}

void require_valid_port(std::string_view property, std::int16_t port) {
    if (port < 0) {
        throw platform::Failure(std::string(property) + ": invalid port " + std::to_string(port));
    }
}

}  // namespace

QtWinsock::QtWinsock(std::shared_ptr<PendingConnections> pending) : pending_(std::move(pending)) {}

QtWinsock::~QtWinsock() {
    listener_.reset();
    detach();
}

void QtWinsock::Close() {
    listener_.reset();
    detach();
    state_ = sckClosed;
    received_.clear();
    // The last peer's address stays readable after the close, as the
    // handlers of a finished request need it.
    sending_ = false;
}

void QtWinsock::set_LocalPort(std::int16_t port) {
    require_valid_port("LocalPort", port);
    local_port_ = port;
}

void QtWinsock::set_RemotePort(std::int16_t port) {
    require_valid_port("RemotePort", port);
    remote_port_ = port;
}

void QtWinsock::Listen() {
    require_closed("Listen");
    listener_ =
        std::make_unique<SocketListener>(static_cast<std::uint16_t>(local_port_),
                                         [this](QTcpSocket* connection) { offer(connection); });
    state_ = sckListening;
}

void QtWinsock::Accept(long request_id) {
    require_closed("Accept");
    QTcpSocket* connection = pending_->take(request_id);
    if (connection == nullptr) {
        throw platform::Failure("Accept: no connection request " + std::to_string(request_id) +
                                " is waiting");
    }
    attach(connection);
    state_ = sckConnected;
    remote_ip_ = address_text(SocketListener::peer_of(*connection));
    // Whatever the client sent or did before now raised nothing; tell it
    // from the event loop, like everything else.
    later([this] { catch_up(); });
}

std::string QtWinsock::GetData() {
    take_in();
    return std::exchange(received_, {});
}

void QtWinsock::SendData(const std::string& text) {
    if (state_ != sckConnected) {
        throw platform::Failure("SendData: not connected (state " + std::to_string(state_) + ")");
    }
    if (!text.empty() && socket_->write(text.data(), static_cast<qint64>(text.size())) !=
                             static_cast<qint64>(text.size())) {
        throw platform::Failure("SendData: " + socket_->errorString().toStdString());
    }
    sending_ = true;
    if (socket_->bytesToWrite() == 0) {
        // Nothing to wait for: Qt will not report any bytes written.
        later([this] { written(); });
    }
}

void QtWinsock::Connect() {
    require_closed("Connect");
    attach(new QTcpSocket);
    state_ = sckConnecting;
    remote_ip_.clear();
    start_connecting();
}

void QtWinsock::on_ConnectionRequest(std::function<void(long request_id)> handler) {
    connection_request_ = std::move(handler);
}

void QtWinsock::on_DataArrival(std::function<void(long bytes_total)> handler) {
    data_arrival_ = std::move(handler);
}

void QtWinsock::on_Close(std::function<void()> handler) {
    close_ = std::move(handler);
}

void QtWinsock::on_Connect(std::function<void()> handler) {
    connect_ = std::move(handler);
}

void QtWinsock::on_SendComplete(std::function<void()> handler) {
    send_complete_ = std::move(handler);
}

void QtWinsock::on_Error(std::function<void(int number, const std::string& description)> handler) {
    error_ = std::move(handler);
}

std::uint16_t QtWinsock::local_port() const {
    return listener_ ? listener_->port() : static_cast<std::uint16_t>(local_port_);
}

void QtWinsock::require_closed(std::string_view method) const {
    if (state_ != sckClosed) {
        throw platform::Failure(std::string(method) + ": the socket is in use (state " +
                                std::to_string(state_) + ")");
    }
}

void QtWinsock::attach(QTcpSocket* socket) {
    socket_ = socket;
    ++serial_;
    links_ = {
        QObject::connect(socket, &QTcpSocket::connected, socket, [this] { connected(); }),
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [this] { arrived(); }),
        QObject::connect(socket, &QTcpSocket::disconnected, socket, [this] { peer_closed(); }),
        QObject::connect(socket, &QTcpSocket::errorOccurred, socket,
                         [this](QAbstractSocket::SocketError error) { failed(error); }),
        QObject::connect(socket, &QTcpSocket::bytesWritten, socket, [this] { written(); }),
    };
}

void QtWinsock::detach() {
    ++serial_;
    for (const QMetaObject::Connection& link : links_) {
        QObject::disconnect(link);
    }
    links_.clear();
    if (socket_ != nullptr) {
        close_gracefully(std::exchange(socket_, nullptr));
    }
}

template <typename Step>
void QtWinsock::later(Step step) {
    const std::weak_ptr<int> alive = alive_;
    const unsigned long serial = serial_;
    // The socket as context: if it is gone, so is the call.
    QMetaObject::invokeMethod(
        socket_,
        [this, alive, serial, step] {
            if (!alive.expired() && serial_ == serial) {
                step();
            }
        },
        Qt::QueuedConnection);
}

template <typename Handler, typename... Arguments>
bool QtWinsock::raise(std::string_view event, const Handler& handler, Arguments... arguments) {
    const std::weak_ptr<int> alive = alive_;
    const unsigned long serial = serial_;
    if (handler) {
        // A copy: the handler may replace itself, or destroy this socket.
        const Handler call = handler;
        guarded({event, subject}, [&] { call(arguments...); });
    }
    return !alive.expired() && serial_ == serial;
}

void QtWinsock::offer(QTcpSocket* connection) {
    // Our own reference: the handler may destroy this socket.
    const std::shared_ptr<PendingConnections> pending = pending_;
    const long request_id = pending->add(connection);
    raise("ConnectionRequest", connection_request_, request_id);
    // Not accepted in the handler: refused.
    pending->refuse(request_id);
}

void QtWinsock::start_connecting() {
    if (!could_name_a_host(remote_host_)) {
        later([this] {
            const WinsockError error = host_not_found();
            fail(error.number, error.description);
        });
        return;
    }
    // Qt may connect or fail within connectToHost; what it reports there is
    // told from the event loop, like everything else, not from inside Connect.
    inside_connect_ = true;
    socket_->connectToHost(QString::fromStdString(remote_host_),
                           static_cast<quint16>(remote_port_));
    inside_connect_ = false;
}

void QtWinsock::connected() {
    if (inside_connect_) {
        later([this] { connected(); });
        return;
    }
    if (state_ != sckConnecting) {
        return;
    }
    state_ = sckConnected;
    remote_ip_ = address_text(socket_->peerAddress());
    raise("Connect", connect_);
}

void QtWinsock::arrived() {
    if (state_ == sckConnected && take_in() > 0) {
        raise("DataArrival", data_arrival_, static_cast<long>(received_.size()));
    }
}

void QtWinsock::catch_up() {
    if (state_ != sckConnected) {
        return;
    }
    if (take_in() > 0 &&
        !raise("DataArrival", data_arrival_, static_cast<long>(received_.size()))) {
        return;
    }
    if (state_ == sckConnected && socket_->state() == QAbstractSocket::UnconnectedState) {
        peer_closed();
    }
}

void QtWinsock::peer_closed() {
    if (state_ != sckConnected) {
        return;
    }
    // The last data often comes with the close: all of it is told first.
    if (take_in() > 0 &&
        (!raise("DataArrival", data_arrival_, static_cast<long>(received_.size())) ||
         state_ != sckConnected)) {
        return;
    }
    state_ = sckClosing;
    raise("Close", close_);
}

void QtWinsock::failed(QAbstractSocket::SocketError error) {
    if (inside_connect_) {
        later([this, error] { failed(error); });
        return;
    }
    if (state_ == sckConnected && error == QAbstractSocket::RemoteHostClosedError) {
        peer_closed();
        return;
    }
    if (state_ == sckConnected) {
        if (take_in() > 0 &&
            (!raise("DataArrival", data_arrival_, static_cast<long>(received_.size())) ||
             state_ != sckConnected)) {
            return;
        }
    } else if (state_ != sckConnecting) {
        return;
    }
    const WinsockError report = winsock_error(error);
    fail(report.number, report.description);
}

void QtWinsock::fail(int number, const std::string& description) {
    state_ = sckError;
    raise("Error", error_, number, description);
}

void QtWinsock::written() {
    if (!sending_ || socket_ == nullptr || socket_->bytesToWrite() > 0) {
        return;
    }
    sending_ = false;
    raise("SendComplete", send_complete_);
}

std::size_t QtWinsock::take_in() {
    if (socket_ == nullptr || !socket_->isOpen()) {
        return 0;
    }
    const QByteArray bytes = socket_->readAll();
    received_.append(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    return static_cast<std::size_t>(bytes.size());
}

}  // namespace platform::qt
