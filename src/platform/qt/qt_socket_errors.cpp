#include "platform/qt/qt_socket_errors.h"

namespace platform::qt {

WinsockError winsock_error(QAbstractSocket::SocketError error) {
    switch (error) {
        case QAbstractSocket::ConnectionRefusedError:
            return {10061, "Connection is forcefully rejected"};
        case QAbstractSocket::RemoteHostClosedError:
            return {10054, "The connection is reset by remote side"};
        case QAbstractSocket::HostNotFoundError:
            return host_not_found();
        case QAbstractSocket::SocketTimeoutError:
            return {10060, "Attempt to connect timed out"};
        case QAbstractSocket::NetworkError:
            return {10051, "Network cannot be reached from this host at this time"};
        case QAbstractSocket::AddressInUseError:
            return {10048, "Address in use"};
        case QAbstractSocket::SocketAddressNotAvailableError:
            return {10049, "Address not available from the local machine"};
        case QAbstractSocket::SocketResourceError:
            return {10055, "No buffer space is available"};
        default:
            return {10053, "Connection is aborted due to timeout or other failure"};
    }
}

WinsockError host_not_found() {
    return {11001, "Authoritative answer: Host not found"};
}

}  // namespace platform::qt
