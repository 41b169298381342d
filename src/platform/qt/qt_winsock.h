#pragma once

#include <QAbstractSocket>
#include <QMetaObject>
#include <QTcpSocket>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/qt/qt_socket_listener.h"
#include "platform/qt/qt_socket_pending.h"
#include "platform/winsock.h"

namespace platform::qt {

// The Winsock control on Qt: one object that listens, serves a connection it
// accepted, or opens one with Connect.
//
// Every event is raised from the event loop, never from inside a method, and
// passes through `guarded`. A handler may do anything to its socket, even
// destroy it; after Close, nothing of the old connection is raised any more.
// Bytes travel unchanged, one byte per character.
class QtWinsock : public platform::Winsock {
  public:
    // Shares the table of pending connections with the other sockets of its
    // network, so that one socket can accept what another has heard.
    explicit QtWinsock(std::shared_ptr<PendingConnections> pending);
    ~QtWinsock() override;

    void Close() override;
    void set_LocalPort(std::int16_t port) override;
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
    void require_closed(std::string_view method) const;
    void attach(QTcpSocket* socket);
    void detach();
    // Runs later on the event loop, unless the connection has ended by then.
    template <typename Step>
    void later(Step step);
    // Raises an event; whether the same connection is still on afterwards.
    template <typename Handler, typename... Arguments>
    bool raise(std::string_view event, const Handler& handler, Arguments... arguments);

    void offer(QTcpSocket* connection);
    void start_connecting();
    void connected();
    void arrived();
    void catch_up();
    void peer_closed();
    void failed(QAbstractSocket::SocketError error);
    void fail(int number, const std::string& description);
    void written();
    // Moves the socket's input into our buffer; how many bytes came.
    std::size_t take_in();

    std::shared_ptr<PendingConnections> pending_;
    std::unique_ptr<SocketListener> listener_;
    QTcpSocket* socket_ = nullptr;
    std::vector<QMetaObject::Connection> links_;
    // Counts the connections attached, so that a late call can tell whether
    // its connection is still the current one.
    unsigned long serial_ = 0;
    int state_ = sckClosed;
    std::string received_;
    std::string remote_ip_;
    std::string remote_host_;
    std::int16_t local_port_ = 0;
    std::int16_t remote_port_ = 0;
    bool sending_ = false;
    // Set while Qt's connectToHost runs.
    bool inside_connect_ = false;

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

// Makes QtWinsock sockets that share one table of pending connections.
class QtNetwork : public platform::Network {
  public:
    std::unique_ptr<platform::Winsock> create_socket() override { return make_socket(); }
    std::unique_ptr<QtWinsock> make_socket() { return std::make_unique<QtWinsock>(pending_); }

  private:
    std::shared_ptr<PendingConnections> pending_ = std::make_shared<PendingConnections>();
};

}  // namespace platform::qt
