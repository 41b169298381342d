#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "platform/posix/descriptor.h"
#include "platform/posix/farewells.h"
#include "platform/posix/host_lookup.h"
#include "platform/posix/socket_engine.h"
#include "platform/posix/tcp.h"
#include "platform/winsock.h"

namespace platform::posix {

// What the sockets of one network share: the engine, the connections that
// listeners have offered and nobody has accepted yet, and the goodbyes of
// connections let go of.
struct NetworkState {
    explicit NetworkState(SocketEngine& on) : engine(on), farewells(on) {}

    SocketEngine& engine;
    Farewells farewells;
    std::map<long, Accepted> pending;
    long last_request_id = 0;
};

// The Winsock control on the socket engine: one object that listens, serves
// a connection it accepted, or opens one with Connect.
//
// Events come from the engine's dispatch, in the order the kernel reports
// them, never from inside a method, and pass through `guarded`. A handler
// may do anything to its socket, even destroy it; after Close, nothing of
// the old connection is raised any more. What comes on a connection is read
// to the end before its close is told, so data that comes with the close is
// never lost; an orderly end raises Close (State 8), a reset raises Error
// (State 9). Bytes travel unchanged, one byte per character.
class PosixWinsock : public platform::Winsock, private Watcher {
  public:
    // How many connections may wait for a listener to take them.
    static constexpr int backlog = 128;

    explicit PosixWinsock(std::shared_ptr<NetworkState> network);
    ~PosixWinsock() override;

    void Close() override;
    void set_LocalPort(std::int16_t port) override;
    // Throws platform::Failure for a text that is no IPv4 address.
    void set_LocalAddress(const std::string& address) override;
    void Listen() override;
    void Accept(long request_id) override;
    std::string GetData() override;
    void SendData(const std::string& text) override;
    int State() const override { return state_; }
    std::string RemoteHostIP() const override { return remote_ip_; }
    void set_RemoteHost(const std::string& host) override { remote_host_ = host; }
    void set_RemotePort(std::int16_t port) override;
    void Connect() override;

    void on_ConnectionRequest(std::function<void(long request_id)> handler) override;
    void on_DataArrival(std::function<void(long bytes_total)> handler) override;
    void on_Close(std::function<void()> handler) override;
    void on_Connect(std::function<void()> handler) override;
    void on_SendComplete(std::function<void()> handler) override;
    void on_Error(std::function<void(int number, const std::string& description)> handler) override;

    // The port listened on while listening (the one the system chose for
    // LocalPort 0); otherwise LocalPort.
    std::uint16_t local_port() const;

  private:
    enum class Role { None, Listener, Connection };

    // The socket and its connection as they are now: holds() tells later
    // whether both still are, even after a handler destroyed the socket.
    struct Current {
        const PosixWinsock* socket;
        std::weak_ptr<int> alive;
        unsigned long serial;
        bool holds() const { return !alive.expired() && socket->serial_ == serial; }
    };
    Current current() const { return {this, alive_, serial_}; }

    void require_closed(std::string_view method) const;
    // Takes the descriptor and watches it.
    void attach(Descriptor fd, Role role, std::uint32_t events);
    // Lets go of the descriptor: handed to the goodbyes, or closed.
    void detach();
    // Runs step from a later dispatch, unless the connection has ended by then.
    template <typename Step>
    void later(Step step);
    // Raises an event; whether the same connection is still on afterwards.
    template <typename Handler, typename... Arguments>
    bool raise(std::string_view event, const Handler& handler, Arguments... arguments);

    void ready(std::uint32_t events) override;
    void take_one_connection();
    void connect_to(std::vector<Endpoint> endpoints);
    void connecting(std::uint32_t events);
    void read_input(std::uint32_t events);
    void write_output();
    void fail(const WinsockError& error);
    void stop_watching();
    void watch_output(bool on);

    std::shared_ptr<NetworkState> network_;
    Descriptor fd_;
    Role role_ = Role::None;
    SocketEngine::Token token_ = 0;
    std::unique_ptr<HostLookup> lookup_;
    // The addresses still to try while connecting.
    std::vector<Endpoint> endpoints_;
    // Counts the connections attached, so that a late call can tell whether
    // its connection is still the current one.
    unsigned long serial_ = 0;
    // The engine's pass in which the listener last took a connection.
    unsigned long accepted_in_pass_ = 0;
    int state_ = sckClosed;
    std::string received_;
    std::string unsent_;
    bool sending_ = false;
    bool output_watched_ = false;
    // The peer ended its direction and all it sent has been read.
    bool peer_done_ = false;
    std::string remote_ip_;
    std::string remote_host_;
    std::int16_t local_port_ = 0;
    std::string local_address_;
    std::int16_t remote_port_ = 0;

    std::function<void(long)> connection_request_;
    std::function<void(long)> data_arrival_;
    std::function<void()> close_;
    std::function<void()> connect_;
    std::function<void()> send_complete_;
    std::function<void(int, const std::string&)> error_;

    // Expires with this object, so that a handler's caller can tell whether
    // the handler destroyed it.
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
};

// Makes PosixWinsock sockets on one engine, sharing one table of pending
// connections, so that one socket can accept what another has heard.
class PosixNetwork : public platform::Network {
  public:
    explicit PosixNetwork(SocketEngine& engine) : state_(std::make_shared<NetworkState>(engine)) {}

    std::unique_ptr<platform::Winsock> create_socket() override { return make_socket(); }
    std::unique_ptr<PosixWinsock> make_socket() { return std::make_unique<PosixWinsock>(state_); }
    // How many connections are still saying goodbye.
    std::size_t closing() const { return state_->farewells.count(); }

  private:
    std::shared_ptr<NetworkState> state_;
};

}  // namespace platform::posix
