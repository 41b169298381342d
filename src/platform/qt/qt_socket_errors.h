#pragma once

#include <QAbstractSocket>
#include <string>

namespace platform::qt {

// A socket failure as the Winsock control reports it: its error number and
// a text for the user.
struct WinsockError {
    int number;
    std::string description;
};

// Winsock's numbers for Qt's socket errors:
//   ConnectionRefusedError          10061  connection refused
//   RemoteHostClosedError           10054  connection reset by the peer
//   HostNotFoundError               11001  host not found
//   SocketTimeoutError              10060  timed out
//   NetworkError                    10051  network unreachable
//   AddressInUseError               10048  address in use
//   SocketAddressNotAvailableError  10049  address not available
//   SocketResourceError             10055  no buffer space
//   anything else                   10053  connection aborted
// A connected socket never reports RemoteHostClosedError as an error: Qt
// raises it for an orderly close and for a reset alike, so both count as the
// peer's close.
WinsockError winsock_error(QAbstractSocket::SocketError error);

// The error of a host text that is no address and no host name, refused
// without asking any name server.
WinsockError host_not_found();

}  // namespace platform::qt
