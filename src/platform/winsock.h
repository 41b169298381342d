#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace platform {

// One TCP socket in the manner of the Winsock control: properties, methods
// and events, all on the user-interface thread. Methods throw
// platform::Failure when the socket refuses them.
class Winsock {
  public:
    // Values of State().
    static constexpr int sckClosed = 0;
    static constexpr int sckListening = 2;
    static constexpr int sckConnecting = 6;
    static constexpr int sckConnected = 7;
    static constexpr int sckClosing = 8;
    static constexpr int sckError = 9;

    Winsock() = default;
    Winsock(const Winsock&) = delete;
    Winsock& operator=(const Winsock&) = delete;
    virtual ~Winsock() = default;

    // Ends any connection, attempt or listening; the socket becomes free (State 0).
    virtual void Close() = 0;
    // The port that Listen binds.
    virtual void set_LocalPort(std::int16_t port) = 0;
    // The address that Listen binds: an IPv4 address, or empty (the
    // default) for every address of the machine.
    virtual void set_LocalAddress(const std::string& address) = 0;
    // Starts listening at LocalAddress and LocalPort.
    virtual void Listen() = 0;
    // Takes over the pending connection identified by request_id.
    virtual void Accept(long request_id) = 0;
    // Everything received and not yet fetched, one byte per character.
    virtual std::string GetData() = 0;
    // Sends text, one byte per character.
    virtual void SendData(const std::string& text) = 0;
    // 0 closed, 2 listening, 6 connecting, 7 connected, 8 closing, 9 error.
    virtual int State() const = 0;
    // The address of the peer, in dotted-decimal form; it stays after Close.
    // On a listening socket, while ConnectionRequest is handled, the address
    // of the client that asks.
    virtual std::string RemoteHostIP() const = 0;
    // The host that Connect reaches.
    virtual void set_RemoteHost(const std::string& host) = 0;
    // The port that Connect reaches.
    virtual void set_RemotePort(std::int16_t port) = 0;
    // Opens a connection to RemoteHost at RemotePort.
    virtual void Connect() = 0;

    // A client wants to connect to this listening socket.
    virtual void on_ConnectionRequest(std::function<void(long request_id)> handler) = 0;
    // Data has arrived.
    virtual void on_DataArrival(std::function<void(long bytes_total)> handler) = 0;
    // The peer has closed the connection.
    virtual void on_Close(std::function<void()> handler) = 0;
    // The connection opened by Connect is open.
    virtual void on_Connect(std::function<void()> handler) = 0;
    // All data of the last SendData has gone.
    virtual void on_SendComplete(std::function<void()> handler) = 0;
    // The connection failed or broke.
    virtual void on_Error(
        std::function<void(int number, const std::string& description)> handler) = 0;
};

// Makes sockets; the caller owns them.
class Network {
  public:
    Network() = default;
    Network(const Network&) = delete;
    Network& operator=(const Network&) = delete;
    virtual ~Network() = default;

    // A new, closed socket.
    virtual std::unique_ptr<Winsock> create_socket() = 0;
};

}  // namespace platform
