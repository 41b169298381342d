#include "platform/qt/qt_socket_closer.h"

#include <sys/socket.h>

#include <QCoreApplication>
#include <QTimer>

namespace platform::qt {

namespace {

// From the event loop, never at once: the socket may be inside one of its own
// signals, which Qt does not expect to end the connection under it.
void cut(QTcpSocket* socket) {
    QMetaObject::invokeMethod(
        socket,
        [socket] {
            socket->abort();
            socket->deleteLater();
        },
        Qt::QueuedConnection);
}

void discard_input(QTcpSocket* socket) {
    socket->readAll();
}

// Whether Qt has seen the peer's end of the stream. It has then closed the
// descriptor already, although the socket may still say it is connected and
// still give the old number, which by now may belong to another connection.
bool peer_has_closed(const QTcpSocket* socket) {
    return socket->error() == QAbstractSocket::RemoteHostClosedError;
}

// Sends the peer our end of the stream once everything queued is out. Qt has
// no half-close, so it is done on the descriptor; Qt keeps reading from it.
void shut_output_when_sent(QTcpSocket* socket) {
    if (socket->state() != QAbstractSocket::ConnectedState || socket->bytesToWrite() > 0 ||
        peer_has_closed(socket)) {
        return;
    }
    const qintptr descriptor = socket->socketDescriptor();
    if (descriptor >= 0) {
        ::shutdown(static_cast<int>(descriptor), SHUT_WR);
    }
}

}  // namespace

void close_gracefully(QTcpSocket* socket, std::chrono::milliseconds patience) {
    if (QCoreApplication* application = QCoreApplication::instance()) {
        socket->setParent(application);
    }
    const QAbstractSocket::SocketState state = socket->state();
    const bool over =
        state != QAbstractSocket::ConnectedState && state != QAbstractSocket::ClosingState;
    if (over || (state == QAbstractSocket::ConnectedState && peer_has_closed(socket))) {
        // Nothing was sent yet (a lookup or a connection attempt), or the
        // connection is over already: ended by us, or by the peer, in which
        // case Qt has let go of the descriptor.
        cut(socket);
        return;
    }
    QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    QTimer::singleShot(patience, socket, [socket] { cut(socket); });
    discard_input(socket);
    QObject::connect(socket, &QTcpSocket::readyRead, socket, [socket] { discard_input(socket); });
    if (state == QAbstractSocket::ClosingState) {
        // The peer has closed already; Qt sends what is queued and then ends.
        return;
    }
    QObject::connect(socket, &QTcpSocket::bytesWritten, socket,
                     [socket] { shut_output_when_sent(socket); });
    socket->flush();
    shut_output_when_sent(socket);
}

}  // namespace platform::qt
