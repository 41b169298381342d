#pragma once

#include <QTcpSocket>
#include <chrono>

namespace platform::qt {

// How long a closed connection may take to say goodbye before it is cut.
inline constexpr std::chrono::milliseconds closing_patience{5000};

// Ends a connection that its owner lets go of, without ever waiting for it.
//
// Closing a TCP socket that holds unread input makes the system send a reset,
// and a reset may destroy what we sent last (a notice written just before
// closing) in the peer's receive buffer before the peer reads it. So the
// input is thrown away, the queued output is sent, then only our direction is
// shut, and the input that still comes is thrown away until the peer closes
// too. A peer that has not closed within the patience is cut off.
//
// Takes ownership: the socket deletes itself when done, or with the
// application at its end. The caller must have disconnected its own
// handlers.
void close_gracefully(QTcpSocket* socket, std::chrono::milliseconds patience = closing_patience);

}  // namespace platform::qt
