#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

namespace bench {

// A Prometheus server as Orvanta sees one: on a thread of its own, it
// fetches http://127.0.0.1:<port>/metrics every `interval`, each time on a
// new connection, reading the whole answer, until it is destroyed.
class Scraper {
  public:
    Scraper(std::uint16_t port, std::chrono::milliseconds interval);
    Scraper(const Scraper&) = delete;
    Scraper& operator=(const Scraper&) = delete;
    ~Scraper();

    // Scrapes answered in full with status 200 and Orvanta's figures in them.
    int scrapes() const { return scrapes_; }
    // Scrapes refused, broken off, timed out or answered with anything else.
    int failures() const { return failures_; }

  private:
    void run(std::uint16_t port, std::chrono::milliseconds interval);

    std::mutex mutex_;
    std::condition_variable stopped_;
    bool stop_ = false;
    std::atomic<int> scrapes_{0};
    std::atomic<int> failures_{0};
    std::thread thread_;
};

// One scrape: whether the answer was whole, status 200, with Orvanta's figures.
bool scrape_once(std::uint16_t port);

}  // namespace bench
