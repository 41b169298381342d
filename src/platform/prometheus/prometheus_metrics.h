#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "platform/metrics.h"

namespace prometheus {
class Counter;
class Exposer;
class Gauge;
template <typename T>
class Family;
class Registry;
}  // namespace prometheus

namespace platform::prometheus {

class ProcessCollector;

// The metrics served in Prometheus's text format at /metrics, by
// prometheus-cpp's exposer on threads of its own. The program's one thread
// writes the figures (atomics, and families that lock while a series is
// added); the exposer's threads only read them. Every series the program
// knows of exists from the start, at 0.
class PrometheusMetrics final : public platform::Metrics {
  public:
    // Listens on address:port at once; throws platform::Failure, with the
    // reason, when it cannot.
    PrometheusMetrics(const std::string& address, std::uint16_t port);
    ~PrometheusMetrics() override;

    // The port it listens on.
    std::uint16_t port() const;

    void link_polled(bool connected, bool dialing, bool signal, const std::string& status_code,
                     std::int64_t unix_time) override;
    void poll_failed() override;
    void request(const std::string& keyword) override;
    void session_refused() override;
    void client_not_allowed() override;
    void delivery(bool sent) override;
    void dial(DialOrigin origin) override;
    void hang_up(HangUpOrigin origin) override;
    void sessions_open(int count) override;
    void clients_known(int count) override;

  private:
    std::shared_ptr<::prometheus::Registry> registry_;
    std::shared_ptr<ProcessCollector> process_;

    // Built once by the constructor; the series live as long as the registry.
    ::prometheus::Gauge* link_connected_ = nullptr;
    ::prometheus::Gauge* link_dialing_ = nullptr;
    ::prometheus::Gauge* signal_present_ = nullptr;
    ::prometheus::Family<::prometheus::Gauge>* status_codes_ = nullptr;
    // The codes seen so far; only the current one is 1.
    std::map<std::string, ::prometheus::Gauge*> status_code_;
    ::prometheus::Gauge* last_poll_ = nullptr;
    ::prometheus::Gauge* sessions_open_ = nullptr;
    ::prometheus::Gauge* clients_known_ = nullptr;
    // By keyword, "other" included.
    std::map<std::string, ::prometheus::Counter*> requests_;
    ::prometheus::Counter* sessions_refused_ = nullptr;
    ::prometheus::Counter* clients_refused_ = nullptr;
    ::prometheus::Counter* sent_ = nullptr;
    ::prometheus::Counter* failed_ = nullptr;
    std::array<::prometheus::Counter*, 3> dials_{};     // by DialOrigin
    std::array<::prometheus::Counter*, 2> hang_ups_{};  // by HangUpOrigin
    ::prometheus::Counter* poll_failures_ = nullptr;

    // Made last and so ended first: its threads stop before the figures go.
    std::unique_ptr<::prometheus::Exposer> exposer_;
};

}  // namespace platform::prometheus
