#pragma once

#include <QDBusMessage>
#include <QDBusServiceWatcher>
#include <QObject>
#include <QString>
#include <QVariantMap>
#include <cstdint>
#include <functional>
#include <string>

#include "platform/nm/bus_calls.h"
#include "platform/nm/network_records.h"

namespace platform::nm {

// NetworkManager's devices, access points, connection profiles and active
// connections as far as the navigator needs them, read once and then kept
// current from NetworkManager's change signals, so that reading them never
// waits on the bus. When NetworkManager leaves the bus the mirror empties;
// when it comes back it is read again.
class NmMirror : public QObject {
    Q_OBJECT

  public:
    // `on_presence` is told each time NetworkManager leaves (false) or
    // comes back (true) after start().
    NmMirror(BusCalls& calls, std::function<void(bool present)> on_presence);

    // Follows the change signals and starts reading NetworkManager.
    void start();

    // NetworkManager answered the last reading, and has not left since.
    bool present() const { return present_; }
    // Everything has been read once since NetworkManager last appeared.
    // Objects that appear later are read in the background and do not
    // count.
    bool filled() const { return present_ && filled_; }
    // Why NetworkManager could not be read, while it cannot.
    const QString& trouble() const { return trouble_; }
    const NetworkRecords& records() const { return records_; }

  private slots:
    void on_signal(const QDBusMessage& message);
    void on_owner_changed(const QString& service, const QString& old_owner,
                          const QString& new_owner);

  private:
    void follow(const char* path, const char* interface, const char* member);
    void clear();
    void fill();
    // Reads one interface of one object, for the current reading only, and
    // applies it as a change signal would.
    void fetch(const std::string& path, const QString& interface, bool essential);
    void fetch_connection(const std::string& path);
    // Counts one reply of the current reading.
    void answered();

    void apply(const std::string& path, const QString& interface, const QVariantMap& values);
    void apply_manager(const QVariantMap& values);
    void apply_device(const std::string& path, const QVariantMap& values);
    void apply_wireless(const std::string& path, const QVariantMap& values);
    void apply_access_point(const std::string& path, const QVariantMap& values);
    void apply_active(const std::string& path, const QVariantMap& values);
    void apply_settings(const QVariantMap& values);

    void add_device(const std::string& path);
    void remove_device(const std::string& path);
    void set_devices(const std::vector<std::string>& paths);
    void set_actives(const std::vector<std::string>& paths);
    void set_connections(const std::vector<std::string>& paths);
    void set_access_points(DeviceRecord& device, const std::vector<std::string>& paths);

    BusCalls& calls_;
    std::function<void(bool)> on_presence_;
    QDBusServiceWatcher watcher_;
    NetworkRecords records_;
    bool present_ = false;
    bool failed_ = false;
    bool filled_ = false;
    // NetworkManager's leaving was told, so its coming back is told too.
    bool gone_told_ = false;
    QString trouble_;
    // Replies of an earlier reading, from before NetworkManager left, count
    // for nothing.
    std::uint64_t generation_ = 0;
    int outstanding_ = 0;
};

}  // namespace platform::nm
