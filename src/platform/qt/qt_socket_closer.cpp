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

// Sends the peer our end of the stream once everything queued is out. Qt has
// no half-close, so it is done on the descriptor; Qt keeps reading from it.
void shut_output_when_sent(QTcpSocket* socket) {
    if (socket->state() != QAbstractSocket::ConnectedState || socket->bytesToWrite() > 0) {
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
    if (state != QAbstractSocket::ConnectedState && state != QAbstractSocket::ClosingState) {
        // Nothing was sent yet (a lookup or a connection attempt), or the
        // connection is over already.
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
