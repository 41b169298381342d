#include "server/listener_sockets.h"

#include "platform/failure.h"

namespace server {

ListenerSockets::ListenerSockets(platform::Network& network) : network_(network) {
    Load(0);
}

ListenerSockets::Element& ListenerSockets::element(int index) {
    const auto it = elements_.find(index);
    if (it == elements_.end()) {
        throw platform::Failure("WS_LISTENER(" + std::to_string(index) + ") is not loaded");
    }
    return it->second;
}

platform::Winsock& ListenerSockets::WS_LISTENER(int index) {
    return *element(index).socket;
}

std::string& ListenerSockets::WS_LISTENER_SCKDATA(int index) {
    return element(index).data;
}

void ListenerSockets::Load(int index) {
    if (index < 0 || elements_.count(index) != 0) {
        throw platform::Failure("WS_LISTENER(" + std::to_string(index) + ") cannot be loaded");
    }
    auto socket = network_.create_socket();
    if (!socket) {
        throw platform::Failure("no socket for WS_LISTENER(" + std::to_string(index) + ")");
    }
    platform::Winsock& loaded = *socket;
    elements_.emplace(index, Element{std::move(socket), {}});
    if (loaded_) {
        loaded_(index, loaded);
    }
}

void ListenerSockets::Unload(int index) {
    if (index == 0) {
        throw platform::Failure("WS_LISTENER(0) belongs to the window");
    }
    element(index);
    elements_.erase(index);
}

int ListenerSockets::UBound() const {
    return elements_.rbegin()->first;
}

}  // namespace server
