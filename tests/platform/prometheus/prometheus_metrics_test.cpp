// The metrics as a Prometheus server reads them: served by the exposer on
// 127.0.0.1, scraped over plain HTTP.
#include "platform/prometheus/prometheus_metrics.h"

#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <sstream>
#include <string>
#include <thread>

#include "platform/failure.h"
#include "platform/prometheus/proc_stat.h"
#include "support/raw_client.h"

namespace {

using platform::prometheus::PrometheusMetrics;
using Series = std::map<std::string, std::string>;

// Every series of one scrape and its value, as the text shows them.
Series scrape(std::uint16_t port) {
    test_support::RawClient client(port);
    EXPECT_TRUE(client.send("GET /metrics HTTP/1.0\r\n\r\n"));
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!client.read_some() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    const std::string& response = client.received();
    EXPECT_EQ(response.rfind("HTTP/1.1 200", 0), 0U) << response;
    std::istringstream body(response.substr(response.find("\r\n\r\n") + 4));
    Series series;
    for (std::string line; std::getline(body, line);) {
        if (!line.empty() && line[0] != '#') {
            const std::size_t blank = line.rfind(' ');
            series[line.substr(0, blank)] = line.substr(blank + 1);
        }
    }
    return series;
}

TEST(PrometheusMetricsTest, EverySeriesIsThereFromTheStartAndFollowsWhatTheProgramSays) {
    PrometheusMetrics metrics("127.0.0.1", 0);
    const Series start = scrape(metrics.port());
    // No code before the first poll.
    for (const auto& [name, value] : start) {
        EXPECT_NE(name.rfind("orvanta_status_code", 0), 0U) << name;
    }

    metrics.link_polled(true, false, true, "STATUS-CONNSIGOK", 1796677500);
    metrics.link_polled(false, true, false, "STATUS-DIALSIGOK", 1796677505);
    metrics.request("STATUS");
    metrics.request("STATUS");
    metrics.request("HELLO!");  // anything unknown is "other", never a series of its own
    metrics.request("other");
    metrics.dial(platform::Metrics::DialOrigin::Redial);
    metrics.dial(platform::Metrics::DialOrigin::Client);
    metrics.hang_up(platform::Metrics::HangUpOrigin::Local);
    metrics.delivery(true);
    metrics.delivery(false);
    metrics.delivery(false);
    metrics.session_refused();
    metrics.client_not_allowed();
    metrics.poll_failed();
    metrics.sessions_open(3);
    metrics.clients_known(51);

    const Series now = scrape(metrics.port());
    const Series expected{
        {"orvanta_link_connected", "0"},
        {"orvanta_link_dialing", "1"},
        {"orvanta_signal_present", "0"},
        {"orvanta_status_code{code=\"STATUS-CONNSIGOK\"}", "0"},
        {"orvanta_status_code{code=\"STATUS-DIALSIGOK\"}", "1"},
        {"orvanta_last_poll_timestamp_seconds", "1796677505"},
        {"orvanta_requests_total{keyword=\"STATUS\"}", "2"},
        {"orvanta_requests_total{keyword=\"other\"}", "2"},
        {"orvanta_requests_total{keyword=\"CONNEC\"}", "0"},
        {"orvanta_requests_total{keyword=\"DISCON\"}", "0"},
        {"orvanta_requests_total{keyword=\"MESSAG\"}", "0"},
        {"orvanta_dials_total{origin=\"redial\"}", "1"},
        {"orvanta_dials_total{origin=\"client\"}", "1"},
        {"orvanta_dials_total{origin=\"local\"}", "0"},
        {"orvanta_hangups_total{origin=\"local\"}", "1"},
        {"orvanta_hangups_total{origin=\"client\"}", "0"},
        {"orvanta_deliveries_total{result=\"sent\"}", "1"},
        {"orvanta_deliveries_total{result=\"error\"}", "2"},
        {"orvanta_sessions_refused_total", "1"},
        {"orvanta_clients_refused_total", "1"},
        {"orvanta_poll_failures_total", "1"},
        {"orvanta_sessions_open", "3"},
        {"orvanta_clients_known", "51"},
    };
    for (const auto& [name, value] : expected) {
        EXPECT_EQ(now.count(name) == 1 ? now.at(name) : "missing", value) << name;
        // Every series but the codes is there from the start, at 0.
        if (name.rfind("orvanta_status_code", 0) != 0) {
            EXPECT_EQ(start.count(name) == 1 ? start.at(name) : "missing", "0") << name;
        }
    }
    int requests = 0;
    for (const auto& [name, value] : now) {
        requests += name.rfind("orvanta_requests_total", 0) == 0 ? 1 : 0;
    }
    EXPECT_EQ(requests, 5);
    // The process as /proc tells it.
    EXPECT_GT(std::stod(now.at("process_resident_memory_bytes")), 0);
    EXPECT_GT(std::stoi(now.at("process_open_fds")), 2);
    EXPECT_GT(std::stod(now.at("process_start_time_seconds")), 1.7e9);
    EXPECT_GE(std::stod(now.at("process_cpu_seconds_total")), 0);
}

// A port that another program holds is left to the end-to-end metrics test,
// which reads the reason the program gives.
TEST(PrometheusMetricsTest, AnAddressOfNoInterfaceOfThisMachineFails) {
    EXPECT_THROW(PrometheusMetrics("192.0.2.1", 0), platform::Failure);  // TEST-NET-1
}

TEST(ProcessCollectorTest, StatIsReadPastANameWithBlanksAndParentheses) {
    const std::string stat =
        "4242 (a) b (c)) S 1 4242 4242 0 -1 4194560 2000 0 0 0 "
        "150 75 0 0 20 0 3 0 98765 370548736 7596 18446744073709551615";
    const auto read = platform::prometheus::parse_process_stat(stat);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->user_ticks, 150U);
    EXPECT_EQ(read->system_ticks, 75U);
    EXPECT_EQ(read->start_ticks, 98765U);
    EXPECT_EQ(read->virtual_bytes, 370548736U);
    EXPECT_EQ(read->resident_pages, 7596U);
    EXPECT_FALSE(platform::prometheus::parse_process_stat("4242 (cut) S 1 2 3").has_value());
    EXPECT_FALSE(platform::prometheus::parse_process_stat("no name at all").has_value());

    EXPECT_EQ(platform::prometheus::parse_boot_time("cpu  1 2 3\nbtime 1796600000\nprocesses 9\n"),
              1796600000U);
    EXPECT_FALSE(platform::prometheus::parse_boot_time("cpu  1 2 3\n").has_value());
}

}  // namespace
