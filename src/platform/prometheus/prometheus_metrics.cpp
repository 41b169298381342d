#include "platform/prometheus/prometheus_metrics.h"

#include <prometheus/counter.h>
#include <prometheus/exposer.h>
#include <prometheus/family.h>
#include <prometheus/gauge.h>
#include <prometheus/registry.h>

#include <exception>

#include "platform/failure.h"
#include "platform/posix/tcp.h"
#include "platform/prometheus/process_collector.h"

namespace platform::prometheus {

namespace {

using ::prometheus::BuildCounter;
using ::prometheus::BuildGauge;
using ::prometheus::Counter;
using ::prometheus::Family;
using ::prometheus::Gauge;
using ::prometheus::Registry;

Gauge& gauge(Registry& registry, const char* name, const char* help) {
    return BuildGauge().Name(name).Help(help).Register(registry).Add({});
}

Counter& counter(Registry& registry, const char* name, const char* help) {
    return BuildCounter().Name(name).Help(help).Register(registry).Add({});
}

Family<Counter>& counters(Registry& registry, const char* name, const char* help) {
    return BuildCounter().Name(name).Help(help).Register(registry);
}

}  // namespace

PrometheusMetrics::PrometheusMetrics(const std::string& address, std::uint16_t port)
    : registry_(std::make_shared<Registry>()), process_(std::make_shared<ProcessCollector>()) {
    Registry& r = *registry_;
    link_connected_ = &gauge(r, "orvanta_link_connected",
                             "1 while the last poll found the link connected, else 0.");
    link_dialing_ =
        &gauge(r, "orvanta_link_dialing", "1 while the last poll found the link dialing, else 0.");
    signal_present_ = &gauge(r, "orvanta_signal_present",
                             "1 while the last poll found the satellite signal, else 0.");
    status_codes_ = &BuildGauge()
                         .Name("orvanta_status_code")
                         .Help("1 for the status code of the last poll, 0 for the others seen.")
                         .Register(r);
    last_poll_ = &gauge(r, "orvanta_last_poll_timestamp_seconds",
                        "When the link was last polled, in seconds since 1970; 0 before.");
    sessions_open_ = &gauge(r, "orvanta_sessions_open", "Client sessions open now.");
    clients_known_ = &gauge(r, "orvanta_clients_known", "Distinct client addresses recorded.");

    auto& requests = counters(r, "orvanta_requests_total", "Client requests processed.");
    for (const char* keyword : {"STATUS", "CONNEC", "DISCON", "MESSAG", "other"}) {
        requests_[keyword] = &requests.Add({{"keyword", keyword}});
    }
    sessions_refused_ = &counter(r, "orvanta_sessions_refused_total",
                                 "Clients turned away beyond the session limit.");
    clients_refused_ = &counter(r, "orvanta_clients_refused_total",
                                "Connections closed because their client is not allowed.");
    auto& deliveries = counters(r, "orvanta_deliveries_total",
                                "Status replies and operator messages sent to clients, or failed.");
    sent_ = &deliveries.Add({{"result", "sent"}});
    failed_ = &deliveries.Add({{"result", "error"}});
    auto& dials = counters(r, "orvanta_dials_total", "Dials passed on to the link, by who asked.");
    dials_[static_cast<std::size_t>(DialOrigin::Local)] = &dials.Add({{"origin", "local"}});
    dials_[static_cast<std::size_t>(DialOrigin::Client)] = &dials.Add({{"origin", "client"}});
    dials_[static_cast<std::size_t>(DialOrigin::Redial)] = &dials.Add({{"origin", "redial"}});
    auto& hang_ups =
        counters(r, "orvanta_hangups_total", "Hang-ups passed on to the link, by who asked.");
    hang_ups_[static_cast<std::size_t>(HangUpOrigin::Local)] = &hang_ups.Add({{"origin", "local"}});
    hang_ups_[static_cast<std::size_t>(HangUpOrigin::Client)] =
        &hang_ups.Add({{"origin", "client"}});
    poll_failures_ = &counter(r, "orvanta_poll_failures_total",
                              "Polls that ended because the link could not be read.");

    try {
        exposer_ = std::make_unique<::prometheus::Exposer>(address + ":" + std::to_string(port));
    } catch (const std::exception&) {
        // The exposer says only that its server did not start; listening the
        // same way tells why, in the system's words.
        platform::posix::listen_on(port, 1, address);
        throw platform::Failure("cannot listen on " + address + " port " + std::to_string(port) +
                                ": the exposer's web server did not start");
    }
    exposer_->RegisterCollectable(registry_);
    exposer_->RegisterCollectable(process_);
}

PrometheusMetrics::~PrometheusMetrics() = default;

std::uint16_t PrometheusMetrics::port() const {
    const std::vector<int> ports = exposer_->GetListeningPorts();
    return ports.empty() ? 0 : static_cast<std::uint16_t>(ports.front());
}

void PrometheusMetrics::link_polled(bool connected, bool dialing, bool signal,
                                    const std::string& status_code, std::int64_t unix_time) {
    link_connected_->Set(connected ? 1 : 0);
    link_dialing_->Set(dialing ? 1 : 0);
    signal_present_->Set(signal ? 1 : 0);
    // The former code goes to 0 before the new one shows 1, so a scrape in
    // between never sees two current codes.
    for (auto& [code, series] : status_code_) {
        if (code != status_code) {
            series->Set(0);
        }
    }
    auto [seen, is_new] = status_code_.try_emplace(status_code, nullptr);
    if (is_new) {
        seen->second = &status_codes_->Add({{"code", status_code}});
    }
    seen->second->Set(1);
    last_poll_->Set(static_cast<double>(unix_time));
}

void PrometheusMetrics::poll_failed() {
    poll_failures_->Increment();
}

void PrometheusMetrics::request(const std::string& keyword) {
    const auto series = requests_.find(keyword);
    (series != requests_.end() ? series->second : requests_.at("other"))->Increment();
}

void PrometheusMetrics::session_refused() {
    sessions_refused_->Increment();
}

void PrometheusMetrics::client_not_allowed() {
    clients_refused_->Increment();
}

void PrometheusMetrics::delivery(bool sent) {
    (sent ? sent_ : failed_)->Increment();
}

void PrometheusMetrics::dial(DialOrigin origin) {
    dials_.at(static_cast<std::size_t>(origin))->Increment();
}

void PrometheusMetrics::hang_up(HangUpOrigin origin) {
    hang_ups_.at(static_cast<std::size_t>(origin))->Increment();
}

void PrometheusMetrics::sessions_open(int count) {
    sessions_open_->Set(count);
}

void PrometheusMetrics::clients_known(int count) {
    clients_known_->Set(count);
}

}  // namespace platform::prometheus
