#pragma once

#include <QDBusConnection>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>

#include "support/temp_folder.h"

namespace nm_test {

// A program this test started, stopped by its process id.
class Child {
  public:
    Child(const QString& program, const QStringList& arguments, const QString& bus_address,
          const QString& log_path);
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;
    ~Child() { stop(); }

    void stop();
    // SIGSTOP freezes it, SIGCONT lets it go on.
    void signal(int number);
    // Looks afresh: QProcess learns of an exit only in the event loop.
    bool running() {
        return process_.state() != QProcess::NotRunning && !process_.waitForFinished(0);
    }

  private:
    QProcess process_;
};

// A private D-Bus daemon, posing as the system bus, with dbusmock's
// NetworkManager template and a ModemManager made with dbusmock on it, and
// a connection of its own to set them up and look into them.
class MockNetwork {
  public:
    MockNetwork();
    MockNetwork(const MockNetwork&) = delete;
    MockNetwork& operator=(const MockNetwork&) = delete;
    ~MockNetwork();

    const QString& address() const { return address_; }
    // A new connection to the bus, for a navigator.
    QDBusConnection connect_client();

    // NetworkManager. Each returns the new object's path.
    QString add_ethernet(const QString& name, const QString& interface, std::uint32_t state);
    // With no access point in use.
    QString add_wifi(const QString& name, const QString& interface, std::uint32_t state);
    QString add_access_point(const QString& device, const QString& name, const QString& ssid,
                             std::uint8_t strength);
    QString add_modem_device(const QString& name, const QString& interface, std::uint32_t state,
                             const QString& modem);
    // A connection profile; `ssid` only for Wi-Fi.
    QString add_connection(const QString& id, const QString& type,
                           const QString& interface_name = {}, const QString& ssid = {},
                           const QString& uuid = {});
    void update_connection(const QString& path, const QMap<QString, QVariantMap>& settings);
    void delete_connection(const QString& path);
    QString add_active(const QString& connection, const QStringList& devices, std::uint32_t state);
    // Changes a property of a NetworkManager object, which signals it.
    void set(const QString& path, const QString& interface, const QString& name,
             const QVariant& value);
    // Makes NetworkManager answer `method` with this error from now on.
    void refuse(const QString& method, const QString& error_name, const QString& message);
    // The arguments of each call of a method of NetworkManager's manager.
    QList<QVariantList> calls(const QString& method);
    void stop_network_manager();
    void start_network_manager();
    // NetworkManager answers nothing while paused.
    void pause_network_manager(bool paused);

    // ModemManager.
    void add_modem(const QString& path, std::uint32_t quality);
    void set_quality(const QString& path, std::uint32_t quality);
    void stop_modem_manager();
    void start_modem_manager();

  private:
    QVariant call(const QString& service, const QString& path, const QString& interface,
                  const QString& method, const QVariantList& args);
    void wait_for(const QString& service, Child& child, const QString& log);

    test_support::TempFolder folder_;
    std::unique_ptr<QProcess> daemon_;
    QString address_;
    QString driver_name_;
    std::unique_ptr<Child> network_manager_;
    std::unique_ptr<Child> modem_manager_;
    int clients_ = 0;
};

// Lets the event loop run until `condition` holds or `patience` is over;
// whether it holds.
bool run_until(const std::function<bool()>& condition,
               std::chrono::milliseconds patience = std::chrono::seconds(3));

}  // namespace nm_test
