#include "platform/nm/mock_network.h"

#include <signal.h>

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QProcessEnvironment>
#include <QTest>
#include <QThread>
#include <stdexcept>

namespace {

const QString mock_interface = "org.freedesktop.DBus.Mock";
const QString properties = "org.freedesktop.DBus.Properties";
const QString nm_service = "org.freedesktop.NetworkManager";
const QString nm_mock_root = "/org/freedesktop";
const QString nm_path = "/org/freedesktop/NetworkManager";
const QString nm_device = "org.freedesktop.NetworkManager.Device";
const QString nm_wireless = "org.freedesktop.NetworkManager.Device.Wireless";
const QString nm_connection = "org.freedesktop.NetworkManager.Settings.Connection";
const QString mm_service = "org.freedesktop.ModemManager1";
const QString mm_path = "/org/freedesktop/ModemManager1";
const QString mm_modem = "org.freedesktop.ModemManager1.Modem";

// A bus that lets anyone own any name and call anything, and starts nothing
// on demand.
const char* bus_config = R"(<!DOCTYPE busconfig PUBLIC
 "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:tmpdir=/tmp</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
)";

// A D-Bus structure of the members, to be sent inside a variant.
template <typename... Members>
QVariant structure(const Members&... members) {
    QDBusArgument argument;
    argument.beginStructure();
    (argument << ... << members);
    argument.endStructure();
    return QVariant::fromValue(argument);
}

// AddObject's list of methods, empty: dbusmock reads it without looking at
// its element type.
QVariant no_methods() {
    return QStringList{};
}

}  // namespace

namespace nm_test {

Child::Child(const QString& program, const QStringList& arguments, const QString& bus_address,
             const QString& log_path) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("DBUS_SYSTEM_BUS_ADDRESS", bus_address);
    process_.setProcessEnvironment(environment);
    process_.setProcessChannelMode(QProcess::MergedChannels);
    process_.setStandardOutputFile(log_path);
    process_.start(program, arguments);
    if (!process_.waitForStarted(10000)) {
        throw std::runtime_error("cannot start " + program.toStdString() + ": " +
                                 process_.errorString().toStdString());
    }
}

void Child::stop() {
    if (!running()) {
        return;
    }
    ::kill(static_cast<pid_t>(process_.processId()), SIGTERM);
    if (!process_.waitForFinished(5000)) {
        ::kill(static_cast<pid_t>(process_.processId()), SIGKILL);
        process_.waitForFinished(5000);
    }
}

void Child::signal(int number) {
    ::kill(static_cast<pid_t>(process_.processId()), number);
}

MockNetwork::MockNetwork() {
    qDBusRegisterMetaType<QMap<QString, QVariantMap>>();

    const std::string config = folder_ / "bus.conf";
    test_support::write_file(config, bus_config);
    daemon_ = std::make_unique<QProcess>();
    daemon_->start(ORVANTA_TEST_DBUS_DAEMON, {"--config-file=" + QString::fromStdString(config),
                                              "--print-address", "--nofork"});
    if (!daemon_->waitForStarted(10000) || !daemon_->waitForReadyRead(10000)) {
        throw std::runtime_error(
            "cannot start dbus-daemon (scripts/install-deps build installs it): " +
            daemon_->errorString().toStdString());
    }
    address_ = QString::fromUtf8(daemon_->readLine()).trimmed();
    driver_name_ = "nm-test-driver";
    QDBusConnection driver = QDBusConnection::connectToBus(address_, driver_name_);
    if (!driver.isConnected()) {
        throw std::runtime_error("cannot connect to the private bus at " + address_.toStdString());
    }
    start_network_manager();
    start_modem_manager();
}

MockNetwork::~MockNetwork() {
    network_manager_.reset();
    modem_manager_.reset();
    QDBusConnection::disconnectFromBus(driver_name_);
    for (int i = 1; i <= clients_; ++i) {
        QDBusConnection::disconnectFromBus("nm-test-client-" + QString::number(i));
    }
    ::kill(static_cast<pid_t>(daemon_->processId()), SIGTERM);
    daemon_->waitForFinished(5000);
}

QDBusConnection MockNetwork::connect_client() {
    ++clients_;
    return QDBusConnection::connectToBus(address_, "nm-test-client-" + QString::number(clients_));
}

void MockNetwork::wait_for(const QString& service, Child& child, const QString& log) {
    const QDBusConnection driver(driver_name_);
    for (int waited = 0; waited < 20000; waited += 10) {
        if (driver.interface()->isServiceRegistered(service)) {
            return;
        }
        if (!child.running()) {
            break;
        }
        QThread::msleep(10);
    }
    throw std::runtime_error(service.toStdString() + " did not come up on the private bus " +
                             "(python3-dbusmock is in scripts/install-deps build): " +
                             test_support::read_file(log.toStdString()));
}

void MockNetwork::start_network_manager() {
    const QString log = QString::fromStdString(folder_ / "networkmanager.log");
    network_manager_ = std::make_unique<Child>(
        ORVANTA_TEST_PYTHON, QStringList{"-m", "dbusmock", "--template", "networkmanager"},
        address_, log);
    wait_for(nm_service, *network_manager_, log);
}

void MockNetwork::stop_network_manager() {
    network_manager_.reset();
}

void MockNetwork::pause_network_manager(bool paused) {
    network_manager_->signal(paused ? SIGSTOP : SIGCONT);
}

void MockNetwork::start_modem_manager() {
    const QString log = QString::fromStdString(folder_ / "modemmanager.log");
    modem_manager_ =
        std::make_unique<Child>(ORVANTA_TEST_PYTHON,
                                QStringList{"-m", "dbusmock", "--system", "--is-object-manager",
                                            mm_service, mm_path, "org.freedesktop.ModemManager1"},
                                address_, log);
    wait_for(mm_service, *modem_manager_, log);
}

void MockNetwork::stop_modem_manager() {
    modem_manager_.reset();
}

QVariant MockNetwork::call(const QString& service, const QString& path, const QString& interface,
                           const QString& method, const QVariantList& args) {
    QDBusMessage message = QDBusMessage::createMethodCall(service, path, interface, method);
    message.setArguments(args);
    const QDBusMessage reply = QDBusConnection(driver_name_).call(message, QDBus::Block, 10000);
    if (reply.type() != QDBusMessage::ReplyMessage) {
        throw std::runtime_error(method.toStdString() +
                                 " failed: " + reply.errorName().toStdString() + ": " +
                                 reply.errorMessage().toStdString());
    }
    return reply.arguments().value(0);
}

QString MockNetwork::add_ethernet(const QString& name, const QString& interface,
                                  std::uint32_t state) {
    return call(nm_service, nm_mock_root, mock_interface, "AddEthernetDevice",
                {name, interface, static_cast<int>(state)})
        .toString();
}

QString MockNetwork::add_wifi(const QString& name, const QString& interface, std::uint32_t state) {
    const QString path = call(nm_service, nm_mock_root, mock_interface, "AddWiFiDevice",
                              {name, interface, static_cast<int>(state)})
                             .toString();
    call(nm_service, path, mock_interface, "AddProperty",
         {nm_wireless, "ActiveAccessPoint", QVariant::fromValue(QDBusObjectPath("/"))});
    return path;
}

QString MockNetwork::add_access_point(const QString& device, const QString& name,
                                      const QString& ssid, std::uint8_t strength) {
    return call(nm_service, nm_mock_root, mock_interface, "AddAccessPoint",
                {device, name, ssid, QString("00:11:22:33:44:55"), 2u, 2412u, 54000u,
                 QVariant::fromValue(strength), 0u})
        .toString();
}

QString MockNetwork::add_modem_device(const QString& name, const QString& interface,
                                      std::uint32_t state, const QString& modem) {
    // dbusmock makes Ethernet and Wi-Fi devices only: an Ethernet one turned modem.
    const QString path = add_ethernet(name, interface, state);
    set(path, nm_device, "DeviceType", 8u);
    call(nm_service, path, mock_interface, "AddProperty", {nm_device, "Udi", modem});
    return path;
}

QString MockNetwork::add_connection(const QString& id, const QString& type,
                                    const QString& interface_name, const QString& ssid,
                                    const QString& uuid) {
    QMap<QString, QVariantMap> settings;
    settings["connection"] = {{"id", id}, {"type", type}};
    if (!uuid.isEmpty()) {
        settings["connection"]["uuid"] = uuid;
    }
    if (!interface_name.isEmpty()) {
        settings["connection"]["interface-name"] = interface_name;
    }
    if (!ssid.isEmpty()) {
        settings["802-11-wireless"] = {{"ssid", ssid.toUtf8()}};
    }
    return call(nm_service, nm_path + "/Settings", "org.freedesktop.NetworkManager.Settings",
                "AddConnection", {QVariant::fromValue(settings)})
        .value<QDBusObjectPath>()
        .path();
}

void MockNetwork::update_connection(const QString& path,
                                    const QMap<QString, QVariantMap>& settings) {
    call(nm_service, path, nm_connection, "Update", {QVariant::fromValue(settings)});
}

void MockNetwork::delete_connection(const QString& path) {
    call(nm_service, path, nm_connection, "Delete", {});
}

QString MockNetwork::add_active(const QString& connection, const QStringList& devices,
                                std::uint32_t state) {
    static int count = 0;
    return call(nm_service, nm_mock_root, mock_interface, "AddActiveConnection",
                {devices, connection, QString("/"), "test" + QString::number(++count), state})
        .toString();
}

void MockNetwork::set(const QString& path, const QString& interface, const QString& name,
                      const QVariant& value) {
    call(nm_service, path, properties, "Set",
         {interface, name, QVariant::fromValue(QDBusVariant(value))});
}

void MockNetwork::refuse(const QString& method, const QString& error_name, const QString& message) {
    const bool activate = method == "ActivateConnection";
    call(nm_service, nm_path, mock_interface, "AddMethod",
         {nm_service, method, activate ? "ooo" : "o", activate ? "o" : "",
          "raise dbus.exceptions.DBusException('" + message + "', name='" + error_name + "')"});
}

QList<QVariantList> MockNetwork::calls(const QString& method) {
    const auto log = call(nm_service, nm_path, mock_interface, "GetMethodCalls", {method})
                         .value<QDBusArgument>();
    QList<QVariantList> result;
    log.beginArray();
    while (!log.atEnd()) {
        qulonglong time = 0;
        QVariantList args;
        log.beginStructure();
        log >> time >> args;
        log.endStructure();
        result.append(args);
    }
    log.endArray();
    return result;
}

void MockNetwork::add_modem(const QString& path, std::uint32_t quality) {
    const QVariantMap modem{{"SignalQuality", structure(quality, true)}};
    call(mm_service, mm_path, mock_interface, "AddObject", {path, mm_modem, modem, no_methods()});
    // As ModemManager announces a modem it finds.
    const QMap<QString, QVariantMap> interfaces{{mm_modem, modem}};
    call(mm_service, mm_path, mock_interface, "EmitSignal",
         {"org.freedesktop.DBus.ObjectManager", "InterfacesAdded", "oa{sa{sv}}",
          QVariantList{QVariant::fromValue(QDBusObjectPath(path)),
                       QVariant::fromValue(interfaces)}});
}

void MockNetwork::set_quality(const QString& path, std::uint32_t quality) {
    call(mm_service, path, properties, "Set",
         {mm_modem, "SignalQuality", QVariant::fromValue(QDBusVariant(structure(quality, true)))});
}

bool run_until(const std::function<bool()>& condition, std::chrono::milliseconds patience) {
    return QTest::qWaitFor(condition, static_cast<int>(patience.count()));
}

}  // namespace nm_test
