#include "platform/posix/farewells.h"

#include <sys/epoll.h>
#include <sys/socket.h>

#include <cerrno>

#include "platform/posix/tcp.h"

namespace platform::posix {

namespace {

enum class Input { Open, Ended, Broken };

// Reads and throws away what has come.
Input discard_input(int fd) {
    char buffer[16384];
    for (;;) {
        const ssize_t count = ::recv(fd, buffer, sizeof buffer, 0);
        if (count > 0) {
            continue;
        }
        if (count == 0) {
            return Input::Ended;
        }
        return would_block(errno) ? Input::Open : Input::Broken;
    }
}

// Ends the connection with a reset: nothing it still holds is worth waiting for.
void cut(Descriptor& fd) {
    const linger now{1, 0};
    ::setsockopt(fd.get(), SOL_SOCKET, SO_LINGER, &now, sizeof now);
    fd.reset();
}

}  // namespace

class Farewells::Goodbye : public Watcher {
  public:
    Goodbye(Farewells& owner, Descriptor fd, std::string unsent, bool peer_done)
        : owner_(owner), fd_(std::move(fd)), unsent_(std::move(unsent)), peer_done_(peer_done) {}
    Goodbye(const Goodbye&) = delete;
    Goodbye& operator=(const Goodbye&) = delete;
    ~Goodbye() override {
        owner_.engine_.unwatch(token_);
        owner_.engine_.cancel(timer_);
        if (fd_) {
            cut(fd_);
        }
    }

    // Whether the goodbye is over at once.
    bool start() {
        if (send_some(fd_.get(), unsent_) != 0) {
            return true;
        }
        if (unsent_.empty() && finish_sending()) {
            return true;
        }
        token_ = owner_.engine_.watch(fd_.get(), interest(), *this);
        timer_ = owner_.engine_.after(owner_.patience_, [this] { owner_.end(this); });
        return false;
    }

  private:
    std::uint32_t interest() const {
        return unsent_.empty() ? EPOLLIN | EPOLLRDHUP : EPOLLIN | EPOLLRDHUP | EPOLLOUT;
    }

    // Shuts our direction; whether the connection is over with it.
    bool finish_sending() {
        if (peer_done_) {
            // Nothing more can come: a plain close ends it in order.
            fd_.reset();
            return true;
        }
        ::shutdown(fd_.get(), SHUT_WR);
        return false;
    }

    void ready(std::uint32_t events) override {
        if ((events & EPOLLOUT) != 0 && !unsent_.empty()) {
            if (send_some(fd_.get(), unsent_) != 0) {
                owner_.end(this);
                return;
            }
            if (unsent_.empty()) {
                if (finish_sending()) {
                    owner_.end(this);
                    return;
                }
                owner_.engine_.change(token_, interest());
            }
        }
        if ((events & (EPOLLIN | EPOLLRDHUP | EPOLLHUP | EPOLLERR)) == 0 || peer_done_) {
            return;
        }
        switch (discard_input(fd_.get())) {
            case Input::Open:
                return;
            case Input::Broken:
                owner_.end(this);
                return;
            case Input::Ended:
                peer_done_ = true;
                if (unsent_.empty()) {
                    // Both directions are over.
                    fd_.reset();
                    owner_.end(this);
                }
                return;
        }
    }

    Farewells& owner_;
    Descriptor fd_;
    std::string unsent_;
    bool peer_done_;
    SocketEngine::Token token_ = 0;
    SocketEngine::Token timer_ = 0;
};

Farewells::Farewells(SocketEngine& engine, std::chrono::milliseconds patience)
    : engine_(engine), patience_(patience) {}

Farewells::~Farewells() = default;

void Farewells::take(Descriptor connection, std::string unsent, bool peer_done) {
    auto goodbye =
        std::make_unique<Goodbye>(*this, std::move(connection), std::move(unsent), peer_done);
    if (goodbye->start()) {
        return;
    }
    const Goodbye* key = goodbye.get();
    goodbyes_.emplace(key, std::move(goodbye));
}

void Farewells::end(const Goodbye* goodbye) {
    goodbyes_.erase(goodbye);
}

}  // namespace platform::posix
