#include "scraper.h"

#include <sys/socket.h>
#include <sys/time.h>

#include <algorithm>
#include <string>
#include <system_error>

#include "fd.h"
#include "net.h"

namespace bench {

bool scrape_once(std::uint16_t port) {
    Fd fd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (!fd) {
        return false;
    }
    // A scrape that takes longer than Prometheus's default timeout has failed.
    const timeval patience{10, 0};
    ::setsockopt(fd.get(), SOL_SOCKET, SO_RCVTIMEO, &patience, sizeof patience);
    ::setsockopt(fd.get(), SOL_SOCKET, SO_SNDTIMEO, &patience, sizeof patience);
    const sockaddr_in address = loopback(port);
    if (::connect(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        return false;
    }
    try {
        send_all(fd.get(), "GET /metrics HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n");
    } catch (const std::system_error&) {
        return false;
    }
    std::string answer;
    char buffer[16384];
    while (true) {
        const ssize_t count = ::recv(fd.get(), buffer, sizeof buffer, 0);
        if (count == 0) {
            break;
        }
        if (count < 0) {
            return false;
        }
        answer.append(buffer, static_cast<std::size_t>(count));
    }
    return answer.rfind("HTTP/1.1 200", 0) == 0 &&
           answer.find("\norvanta_requests_total{") != std::string::npos;
}

Scraper::Scraper(std::uint16_t port, std::chrono::milliseconds interval)
    : thread_([this, port, interval] { run(port, interval); }) {}

Scraper::~Scraper() {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        stop_ = true;
    }
    stopped_.notify_one();
    thread_.join();
}

void Scraper::run(std::uint16_t port, std::chrono::milliseconds interval) {
    auto next = std::chrono::steady_clock::now();
    std::unique_lock<std::mutex> lock(mutex_);
    while (!stopped_.wait_until(lock, next, [this] { return stop_; })) {
        lock.unlock();
        ++(scrape_once(port) ? scrapes_ : failures_);
        lock.lock();
        // A scrape that overran its interval is not made up for, as Prometheus does.
        next = std::max(next + interval, std::chrono::steady_clock::now());
    }
}

}  // namespace bench
