#include "scraper.h"

#include <gtest/gtest.h>
#include <sys/socket.h>

#include <chrono>
#include <thread>

#include "net.h"
#include "platform/prometheus/prometheus_metrics.h"

namespace bench {
namespace {

using std::chrono::milliseconds;

TEST(ScraperTest, FetchesTheMetricsAtItsPaceAndCountsTheScrapesThatFail) {
    {
        platform::prometheus::PrometheusMetrics metrics("127.0.0.1", 0);
        ASSERT_TRUE(scrape_once(metrics.port()));
        const Scraper scraper(metrics.port(), milliseconds(50));
        std::this_thread::sleep_for(milliseconds(1000));
        // 21 at most: the first comes at once. A loaded machine may lose a few.
        EXPECT_GE(scraper.scrapes(), 10);
        EXPECT_LE(scraper.scrapes(), 21);
        EXPECT_EQ(scraper.failures(), 0);
    }
    // Nothing serves there: every scrape fails, none counts.
    const std::uint16_t nobody = free_port_pair().listen;
    const Scraper scraper(nobody, milliseconds(50));
    std::this_thread::sleep_for(milliseconds(300));
    EXPECT_EQ(scraper.scrapes(), 0);
    EXPECT_GE(scraper.failures(), 3);
}

// A server that answers, but not with Orvanta's metrics, has not been scraped.
TEST(ScraperTest, AnAnswerWithoutOrvantasFiguresIsNoScrape) {
    const std::uint16_t port = free_port_pair().listen;
    const Fd listener = listen_on_loopback(port, 1, false);
    std::thread server([&] {
        const Fd client(::accept(listener.get(), nullptr, nullptr));
        char request[256];
        // Read first: closing on an unread request would reset the connection.
        ::recv(client.get(), request, sizeof request, 0);
        send_all(client.get(), "HTTP/1.1 200 OK\r\n\r\n# nothing here\n");
    });
    EXPECT_FALSE(scrape_once(port));
    server.join();
}

}  // namespace
}  // namespace bench
