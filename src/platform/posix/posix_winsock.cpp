#include "platform/posix/posix_winsock.h"

#include <sys/epoll.h>
#include <sys/socket.h>

#include <cerrno>
#include <utility>

#include "platform/failure.h"
#include "platform/guarded.h"

namespace platform::posix {

namespace {

constexpr std::string_view subject = "Winsock";
constexpr std::uint32_t input_events = EPOLLIN | EPOLLRDHUP;
// A listener that finds no descriptor left for a connection rests this long,
// instead of being told again and again of the connection it cannot take.
constexpr std::chrono::milliseconds out_of_descriptors_rest{100};

void require_valid_port(std::string_view property, std::int16_t port) {
    if (port < 0) {
        throw platform::Failure(std::string(property) + ": invalid port " + std::to_string(port));
    }
}

std::string peer_text(int fd) {
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    if (::getpeername(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        return {};
    }
    return address_text(reinterpret_cast<sockaddr*>(&address));
}

}  // namespace

PosixWinsock::PosixWinsock(std::shared_ptr<NetworkState> network) : network_(std::move(network)) {}

PosixWinsock::~PosixWinsock() {
    lookup_.reset();
    detach();
}

void PosixWinsock::Close() {
    lookup_.reset();
    detach();
    state_ = sckClosed;
    received_.clear();
    endpoints_.clear();
    sending_ = false;
    // The last peer's address stays readable after the close, as the
    // handlers of a finished request need it.
}

void PosixWinsock::set_LocalPort(std::int16_t port) {
    require_valid_port("LocalPort", port);
    local_port_ = port;
}

void PosixWinsock::set_LocalAddress(const std::string& address) {
    if (!address.empty() && (!endpoint_of(address, 0) || address.find(':') != std::string::npos)) {
        throw platform::Failure("LocalAddress: " + address + " is no IPv4 address");
    }
    local_address_ = address;
}

void PosixWinsock::set_RemotePort(std::int16_t port) {
    require_valid_port("RemotePort", port);
    remote_port_ = port;
}

void PosixWinsock::Listen() {
    require_closed("Listen");
    attach(listen_on(static_cast<std::uint16_t>(local_port_), backlog, local_address_),
           Role::Listener, EPOLLIN);
    state_ = sckListening;
}

void PosixWinsock::Accept(long request_id) {
    require_closed("Accept");
    const auto found = network_->pending.find(request_id);
    if (found == network_->pending.end()) {
        throw platform::Failure("Accept: no connection request " + std::to_string(request_id) +
                                " is waiting");
    }
    Accepted accepted = std::move(found->second);
    network_->pending.erase(found);
    remote_ip_ = std::move(accepted.address);
    // Whatever the client sent or did before now is ready on the descriptor
    // and told by the next dispatch, like everything else.
    attach(std::move(accepted.connection), Role::Connection, input_events);
    state_ = sckConnected;
}

std::string PosixWinsock::GetData() {
    return std::exchange(received_, {});
}

void PosixWinsock::SendData(const std::string& text) {
    if (state_ != sckConnected) {
        throw platform::Failure("SendData: not connected (state " + std::to_string(state_) + ")");
    }
    unsent_ += text;
    sending_ = true;
    // What cannot go now, and the news that it has gone, come from the loop.
    if (const int error = send_some(fd_.get(), unsent_); error != 0) {
        later([this, report = winsock_error(error)] { fail(report); });
        return;
    }
    if (unsent_.empty()) {
        later([this] {
            if (sending_ && unsent_.empty()) {
                sending_ = false;
                raise("SendComplete", send_complete_);
            }
        });
    } else {
        watch_output(true);
    }
}

void PosixWinsock::Connect() {
    require_closed("Connect");
    state_ = sckConnecting;
    remote_ip_.clear();
    ++serial_;
    const auto port = static_cast<std::uint16_t>(remote_port_);
    if (!could_name_a_host(remote_host_)) {
        later([this] { fail(host_not_found()); });
        return;
    }
    if (const auto endpoint = endpoint_of(remote_host_, port)) {
        // An address is tried at once; only what happens is told later.
        connect_to({*endpoint});
        return;
    }
    lookup_ = std::make_unique<HostLookup>(
        network_->engine, remote_host_, port,
        [this](std::vector<Endpoint> endpoints) { connect_to(std::move(endpoints)); });
}

void PosixWinsock::on_ConnectionRequest(std::function<void(long request_id)> handler) {
    connection_request_ = std::move(handler);
}

void PosixWinsock::on_DataArrival(std::function<void(long bytes_total)> handler) {
    data_arrival_ = std::move(handler);
}

void PosixWinsock::on_Close(std::function<void()> handler) {
    close_ = std::move(handler);
}

void PosixWinsock::on_Connect(std::function<void()> handler) {
    connect_ = std::move(handler);
}

void PosixWinsock::on_SendComplete(std::function<void()> handler) {
    send_complete_ = std::move(handler);
}

void PosixWinsock::on_Error(
    std::function<void(int number, const std::string& description)> handler) {
    error_ = std::move(handler);
}

std::uint16_t PosixWinsock::local_port() const {
    return role_ == Role::Listener ? posix::local_port(fd_.get())
                                   : static_cast<std::uint16_t>(local_port_);
}

void PosixWinsock::require_closed(std::string_view method) const {
    if (state_ != sckClosed) {
        throw platform::Failure(std::string(method) + ": the socket is in use (state " +
                                std::to_string(state_) + ")");
    }
}

void PosixWinsock::attach(Descriptor fd, Role role, std::uint32_t events) {
    fd_ = std::move(fd);
    role_ = role;
    ++serial_;
    token_ = network_->engine.watch(fd_.get(), events, *this);
    output_watched_ = (events & EPOLLOUT) != 0;
}

void PosixWinsock::detach() {
    ++serial_;
    stop_watching();
    const bool talking = state_ == sckConnected || state_ == sckClosing;
    if (fd_ && role_ == Role::Connection && talking) {
        network_->farewells.take(std::move(fd_), std::move(unsent_), peer_done_);
    }
    // A listener frees its port now; an attempt or a broken connection has
    // nothing left to say.
    fd_.reset();
    unsent_.clear();
    role_ = Role::None;
    peer_done_ = false;
}

template <typename Step>
void PosixWinsock::later(Step step) {
    network_->engine.post([now = current(), step] {
        if (now.holds()) {
            step();
        }
    });
}

template <typename Handler, typename... Arguments>
bool PosixWinsock::raise(std::string_view event, const Handler& handler, Arguments... arguments) {
    const Current before = current();
    if (handler) {
        // A copy: the handler may replace itself, or destroy this socket.
        const Handler call = handler;
        guarded({event, subject}, [&] { call(arguments...); });
    }
    return before.holds();
}

void PosixWinsock::ready(std::uint32_t events) {
    if (role_ == Role::Listener) {
        take_one_connection();
        return;
    }
    if (state_ == sckConnecting) {
        connecting(events);
        return;
    }
    const Current before = current();
    // What came is told before anything is written: a reset that a write
    // would meet must not swallow the data that came before it.
    if (state_ == sckConnected && (events & (EPOLLIN | EPOLLRDHUP | EPOLLHUP | EPOLLERR)) != 0) {
        read_input(events);
        if (!before.holds()) {
            return;
        }
    }
    if ((state_ == sckConnected || state_ == sckClosing) && (events & EPOLLOUT) != 0) {
        write_output();
    }
}

void PosixWinsock::take_one_connection() {
    // One a pass: the data and closes of the sessions accepted before are
    // handled in between, instead of every waiting client being offered
    // first. The next pass takes the next.
    if (accepted_in_pass_ == network_->engine.pass()) {
        return;
    }
    accepted_in_pass_ = network_->engine.pass();
    std::optional<Accepted> accepted = accept_one(fd_.get());
    if (!accepted) {
        if (errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM) {
            network_->engine.change(token_, 0);
            network_->engine.after(out_of_descriptors_rest, [this, now = current()] {
                if (now.holds()) {
                    network_->engine.change(token_, EPOLLIN);
                }
            });
        }
        return;
    }
    // Our own reference: the handler may destroy this socket.
    const std::shared_ptr<NetworkState> network = network_;
    const long request_id = ++network->last_request_id;
    // The handler may look at who asks before it accepts.
    remote_ip_ = accepted->address;
    network->pending.emplace(request_id, std::move(*accepted));
    raise("ConnectionRequest", connection_request_, request_id);
    // Not accepted in the handler: refused, the descriptor closed.
    network->pending.erase(request_id);
}

void PosixWinsock::connect_to(std::vector<Endpoint> endpoints) {
    endpoints_ = std::move(endpoints);
    int error = 0;
    while (!endpoints_.empty()) {
        const Endpoint endpoint = endpoints_.front();
        endpoints_.erase(endpoints_.begin());
        Descriptor fd = start_connect(endpoint);
        if (fd) {
            stop_watching();
            attach(std::move(fd), Role::Connection, EPOLLOUT);
            return;
        }
        error = errno;
    }
    later([this, report = error == 0 ? host_not_found() : winsock_error(error)] { fail(report); });
}

void PosixWinsock::connecting(std::uint32_t events) {
    const int error = pending_error(fd_.get());
    if (error == 0 && (events & EPOLLOUT) != 0) {
        state_ = sckConnected;
        remote_ip_ = peer_text(fd_.get());
        watch_output(!unsent_.empty());
        raise("Connect", connect_);
        return;
    }
    if (error == 0) {
        return;
    }
    // The next address of the name, if it has more.
    if (!endpoints_.empty()) {
        connect_to(std::exchange(endpoints_, {}));
        return;
    }
    fail(winsock_error(error));
}

void PosixWinsock::read_input(std::uint32_t events) {
    char buffer[65536];
    std::size_t arrived = 0;
    bool ended = false;
    int error = 0;
    for (;;) {
        const ssize_t count = ::recv(fd_.get(), buffer, sizeof buffer, 0);
        if (count > 0) {
            received_.append(buffer, static_cast<std::size_t>(count));
            arrived += static_cast<std::size_t>(count);
        } else if (count == 0) {
            ended = true;
            break;
        } else if (errno != EINTR) {
            error = would_block(errno) ? 0 : errno;
            break;
        }
    }
    // The last data often comes with the close: all of it is told first.
    if (arrived > 0 && (!raise("DataArrival", data_arrival_, static_cast<long>(received_.size())) ||
                        state_ != sckConnected)) {
        return;
    }
    if (ended) {
        peer_done_ = true;
        state_ = sckClosing;
        // Nothing more can come; a level-triggered end would be told forever.
        if (unsent_.empty()) {
            stop_watching();
        } else {
            network_->engine.change(token_, EPOLLOUT);
            output_watched_ = true;
        }
        raise("Close", close_);
        return;
    }
    // An error can be reported with nothing to read (an ICMP message).
    if (error == 0 && (events & EPOLLERR) != 0) {
        error = pending_error(fd_.get());
    }
    if (error != 0) {
        fail(winsock_error(error));
    }
}

void PosixWinsock::write_output() {
    if (const int error = send_some(fd_.get(), unsent_); error != 0) {
        fail(winsock_error(error));
        return;
    }
    if (!unsent_.empty()) {
        return;
    }
    if (state_ == sckClosing) {
        // The peer has ended and all is sent: nothing more to watch for.
        stop_watching();
    } else {
        watch_output(false);
    }
    if (sending_) {
        sending_ = false;
        raise("SendComplete", send_complete_);
    }
}

void PosixWinsock::fail(const WinsockError& error) {
    state_ = sckError;
    // A broken descriptor is told as ready again and again: it is not
    // watched any more, and closed by Close.
    stop_watching();
    raise("Error", error_, error.number, error.description);
}

void PosixWinsock::stop_watching() {
    network_->engine.unwatch(std::exchange(token_, 0));
    output_watched_ = false;
}

void PosixWinsock::watch_output(bool on) {
    if (token_ == 0 || on == output_watched_) {
        return;
    }
    output_watched_ = on;
    const std::uint32_t input =
        state_ == sckConnected || state_ == sckConnecting ? input_events : 0;
    network_->engine.change(token_, input | (on ? EPOLLOUT : 0U));
}

}  // namespace platform::posix
