#pragma once

#include <QDBusConnection>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/console.h"
#include "platform/navigator.h"
#include "platform/nm/problem_notes.h"

namespace platform::nm {

// Which link to watch, from orvanta.conf.
struct LinkChoice {
    std::string connection;  // a NetworkManager connection's id or UUID
    int min_signal = 10;     // percent, 0 to 100
};

class BusCalls;
class NmMirror;
class ModemSignals;

// The navigator control on a link that NetworkManager runs: a modem, a
// PPP or mobile-broadband connection, an Ethernet port, a Wi-Fi uplink.
// Reads answer from a mirror of NetworkManager and ModemManager that their
// change signals keep current, so a poll never waits on the bus; dialing
// and hanging up are sent without waiting, and what NetworkManager answers
// to them arrives later on the console.
class NetworkManagerNavigator : public platform::Navigator {
  public:
    // Connects to the system bus (QDBusConnection::systemBus(), which follows
    // DBUS_SYSTEM_BUS_ADDRESS), fills its mirror synchronously and follows the
    // change signals from then on. Throws platform::Failure with a message for
    // the operator that names the connection when NetworkManager is not on the
    // bus or does not know the connection. Needs a QCoreApplication. Problems
    // found later (a refused ActivateConnection, ...) are told once each on
    // console.
    NetworkManagerNavigator(LinkChoice choice, platform::Console& console);
    // The same on another connection than the system bus.
    NetworkManagerNavigator(LinkChoice choice, platform::Console& console, QDBusConnection bus);
    ~NetworkManagerNavigator() override;

    // 1 when the connection's device is available and its signal reaches
    // min_signal, else 3. Throws while NetworkManager is away.
    std::int16_t SignalStatus() override;
    // 1 activated, 3 activating, else 2. Throws while NetworkManager is away.
    std::int16_t ConnectionStatus() override;
    // Asks NetworkManager to activate the connection.
    void Dial() override;
    // Asks NetworkManager to deactivate the connection where it is active.
    void HangUp() override;

  private:
    // The path of the configured connection, or empty when NetworkManager no
    // longer knows it. Throws while NetworkManager cannot be read.
    std::string connection_path();
    void command(const std::string& subject, const QString& method, const QVariantList& args);
    std::string quoted() const { return "'" + choice_.connection + "'"; }

    LinkChoice choice_;
    ProblemNotes notes_;
    std::unique_ptr<BusCalls> calls_;
    std::unique_ptr<NmMirror> mirror_;
    std::unique_ptr<ModemSignals> modems_;
};

}  // namespace platform::nm
