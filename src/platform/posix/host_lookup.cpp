#include "platform/posix/host_lookup.h"

#include <netdb.h>
#include <sys/epoll.h>
#include <sys/eventfd.h>

#include <cstring>
#include <mutex>
#include <thread>

#include "platform/failure.h"

namespace platform::posix {

// Shared by the lookup and its thread; whichever ends last frees it.
struct HostLookup::Answer {
    Descriptor signal{::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)};
    std::mutex mutex;
    bool finished = false;
    std::vector<Endpoint> endpoints;
};

namespace {

std::vector<Endpoint> resolve(const std::string& host, std::uint16_t port) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_ADDRCONFIG;
    addrinfo* found = nullptr;
    const std::string service = std::to_string(port);
    std::vector<Endpoint> endpoints;
    if (::getaddrinfo(host.c_str(), service.c_str(), &hints, &found) != 0) {
        return endpoints;
    }
    for (const addrinfo* entry = found; entry != nullptr; entry = entry->ai_next) {
        if (entry->ai_addrlen <= sizeof(sockaddr_storage)) {
            Endpoint endpoint;
            std::memcpy(&endpoint.address, entry->ai_addr, entry->ai_addrlen);
            endpoint.length = entry->ai_addrlen;
            endpoints.push_back(endpoint);
        }
    }
    ::freeaddrinfo(found);
    return endpoints;
}

}  // namespace

HostLookup::HostLookup(SocketEngine& engine, std::string host, std::uint16_t port, Done done)
    : engine_(engine), answer_(std::make_shared<Answer>()), done_(std::move(done)) {
    if (!answer_->signal) {
        throw platform::Failure(std::string("cannot look up a host: ") + std::strerror(errno));
    }
    token_ = engine_.watch(answer_->signal.get(), EPOLLIN, *this);
    try {
        std::thread([answer = answer_, host = std::move(host), port] {
            std::vector<Endpoint> endpoints = resolve(host, port);
            const std::lock_guard lock(answer->mutex);
            answer->endpoints = std::move(endpoints);
            answer->finished = true;
            const std::uint64_t one = 1;
            if (::write(answer->signal.get(), &one, sizeof one) < 0) {
                // The counter cannot be full: one write per lookup.
            }
        }).detach();
    } catch (const std::system_error& error) {
        engine_.unwatch(token_);
        throw platform::Failure(std::string("cannot look up a host: ") + error.what());
    }
}

HostLookup::~HostLookup() {
    engine_.unwatch(token_);
}

void HostLookup::ready(std::uint32_t /*events*/) {
    std::vector<Endpoint> endpoints;
    {
        const std::lock_guard lock(answer_->mutex);
        if (!answer_->finished) {
            return;
        }
        std::uint64_t count = 0;
        if (::read(answer_->signal.get(), &count, sizeof count) < 0) {
            // Written once; a failed read leaves nothing to undo.
        }
        endpoints = std::move(answer_->endpoints);
    }
    engine_.unwatch(token_);
    // A copy: the handler may end this lookup.
    const Done done = done_;
    done(std::move(endpoints));
}

}  // namespace platform::posix
