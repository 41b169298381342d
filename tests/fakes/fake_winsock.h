#pragma once

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "fakes/fault.h"
#include "platform/winsock.h"

namespace fakes {

// A socket that only records what it is told. The test plays the network:
// it raises the events and sets what GetData and RemoteHostIP give.
class FakeWinsock : public platform::Winsock {
  public:
    int state = sckClosed;
    std::string remote_host;
    std::string remote_host_ip;
    int remote_port = 0;
    std::string incoming;  // what GetData gives next
    std::vector<std::string> sent;
    std::vector<long> accepted;
    // Every method call by name, in order: "Close", "LocalPort 2509", "Listen", ...
    std::vector<std::string> calls;

    Fault close_fault;
    Fault listen_fault;
    Fault send_fault;
    Fault connect_fault;

    void Close() override {
        record("Close", close_fault);
        state = sckClosed;
    }
    void set_LocalPort(std::int16_t port) override {
        calls.push_back("LocalPort " + std::to_string(port));
    }
    void set_LocalAddress(const std::string& address) override {
        calls.push_back("LocalAddress " + address);
    }
    void Listen() override {
        record("Listen", listen_fault);
        state = sckListening;
    }
    void Accept(long request_id) override {
        calls.push_back("Accept " + std::to_string(request_id));
        accepted.push_back(request_id);
        state = sckConnected;
    }
    std::string GetData() override {
        calls.emplace_back("GetData");
        return std::exchange(incoming, {});
    }
    void SendData(const std::string& text) override {
        record("SendData", send_fault);
        sent.push_back(text);
    }
    int State() const override { return state; }
    std::string RemoteHostIP() const override { return remote_host_ip; }
    void set_RemoteHost(const std::string& host) override {
        calls.push_back("RemoteHost " + host);
        remote_host = host;
    }
    void set_RemotePort(std::int16_t port) override {
        calls.push_back("RemotePort " + std::to_string(port));
        remote_port = port;
    }
    void Connect() override {
        record("Connect", connect_fault);
        state = sckConnecting;
    }

    void on_ConnectionRequest(std::function<void(long)> handler) override {
        connection_request = std::move(handler);
    }
    void on_DataArrival(std::function<void(long)> handler) override {
        data_arrival = std::move(handler);
    }
    void on_Close(std::function<void()> handler) override { closed = std::move(handler); }
    void on_Connect(std::function<void()> handler) override { connected = std::move(handler); }
    void on_SendComplete(std::function<void()> handler) override {
        send_complete = std::move(handler);
    }
    void on_Error(std::function<void(int, const std::string&)> handler) override {
        error = std::move(handler);
    }

    // The handlers the logic registered, for the test to raise.
    std::function<void(long)> connection_request;
    std::function<void(long)> data_arrival;
    std::function<void()> closed;
    std::function<void()> connected;
    std::function<void()> send_complete;
    std::function<void(int, const std::string&)> error;

  private:
    void record(const std::string& call, Fault& fault) {
        calls.push_back(call);
        fault.check(call);
    }
};

// Makes fake sockets and keeps a view of each, in creation order.
class FakeNetwork : public platform::Network {
  public:
    Fault create_fault;
    std::vector<FakeWinsock*> sockets;

    std::unique_ptr<platform::Winsock> create_socket() override {
        create_fault.check("create_socket");
        auto socket = std::make_unique<FakeWinsock>();
        sockets.push_back(socket.get());
        return socket;
    }
};

}  // namespace fakes
