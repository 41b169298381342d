#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "platform/winsock.h"

namespace server {

// The listener socket array WS_LISTENER and its receive buffers
// WS_LISTENER_SCKDATA, element by element. Element 0, the listening socket,
// exists from the start; start-up loads the others by index, shutdown
// unloads them.
class ListenerSockets {
  public:
    explicit ListenerSockets(platform::Network& network);

    // The element at index; throws platform::Failure when it is not loaded.
    platform::Winsock& WS_LISTENER(int index);
    std::string& WS_LISTENER_SCKDATA(int index);

    // Creates element index with an empty buffer; throws platform::Failure
    // when it exists already or the socket cannot be made.
    void Load(int index);
    // Destroys element index (never element 0); throws platform::Failure
    // when it is not loaded.
    void Unload(int index);
    // The highest index loaded.
    int UBound() const;
    // Runs for each element loaded from now on, to give it its handlers.
    void on_load(std::function<void(int index, platform::Winsock& socket)> handler) {
        loaded_ = std::move(handler);
    }

  private:
    struct Element {
        std::unique_ptr<platform::Winsock> socket;
        std::string data;
    };
    Element& element(int index);

    platform::Network& network_;
    std::map<int, Element> elements_;
    std::function<void(int, platform::Winsock&)> loaded_;
};

}  // namespace server
