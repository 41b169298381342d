#!/usr/bin/python3
"""A NetworkManager with one modem link on a private D-Bus daemon, so that the
real orvanta runs with `navigator = networkmanager` without root, without
NetworkManager and without a modem. Needs Debian's python3-dbusmock and
dbus-daemon (scripts/install-deps build), hence the system's Python.

  nm_mock.py start CONNECTION [QUALITY]
      Starts a private bus, dbusmock's NetworkManager template and a
      ModemManager made with dbusmock, with one modem (signal quality QUALITY
      percent, default 80), NetworkManager's device for it (ttyUSB0, ready to
      dial) and a mobile-broadband connection whose id is CONNECTION, not
      active. Prints the bus's address alone on a line once all is ready, and
      stays until SIGTERM or SIGINT, when it stops the mocks and the bus by
      their process ids. NetworkManager activates the connection at once when
      asked (ActivateConnection) and deactivates it when asked.

  nm_mock.py quality ADDRESS PERCENT
      Sets the modem's signal quality; ModemManager signals the change.
  nm_mock.py deactivate ADDRESS
      The link drops by itself: NetworkManager removes the connection's active
      connection, as when a modem loses its carrier.
  nm_mock.py state ADDRESS
      Prints the connection's active state: activating, activated,
      deactivating, deactivated, or down when it has no active connection.
  nm_mock.py calls ADDRESS METHOD
      Prints how often NetworkManager's METHOD was called, for instance
      ActivateConnection or DeactivateConnection.

In a bash script:
  coproc MOCK { tests/support/nm_mock.py start sat; }
  read -r address <&"${MOCK[0]}"
  DBUS_SYSTEM_BUS_ADDRESS="$address" build/orvanta &
  tests/support/nm_mock.py quality "$address" 5
  kill "$MOCK_PID"
"""

import os
import shutil
import signal
import subprocess
import sys

import dbus
from dbusmock import DBusTestCase

MOCK = 'org.freedesktop.DBus.Mock'
PROPERTIES = 'org.freedesktop.DBus.Properties'
NM = 'org.freedesktop.NetworkManager'
NM_ROOT = '/org/freedesktop'
NM_PATH = '/org/freedesktop/NetworkManager'
NM_DEVICE = 'org.freedesktop.NetworkManager.Device'
NM_ACTIVE = 'org.freedesktop.NetworkManager.Connection.Active'
DEVICE_PATH = NM_PATH + '/Devices/ttyUSB0'
MM = 'org.freedesktop.ModemManager1'
MM_PATH = '/org/freedesktop/ModemManager1'
MM_MODEM = 'org.freedesktop.ModemManager1.Modem'
MODEM_PATH = MM_PATH + '/Modem/0'
STATES = {1: 'activating', 2: 'activated', 3: 'deactivating', 4: 'deactivated'}


def quality_value(percent):
    return dbus.Struct((dbus.UInt32(percent), dbus.Boolean(True)), signature='ub', variant_level=1)


def spawn_mock(arguments, name, path):
    process = subprocess.Popen([sys.executable, '-m', 'dbusmock', *arguments],
                               stdout=subprocess.DEVNULL)
    DBusTestCase.wait_for_bus_object(name, path, system_bus=True, timeout=100)
    return process


def set_up(bus, connection_id, quality):
    modem_manager = bus.get_object(MM, MM_PATH)
    modem_manager.AddObject(MODEM_PATH, MM_MODEM, {'SignalQuality': quality_value(quality)}, [],
                            dbus_interface=MOCK)
    modem_manager.EmitSignal('org.freedesktop.DBus.ObjectManager', 'InterfacesAdded',
                             'oa{sa{sv}}',
                             [dbus.ObjectPath(MODEM_PATH),
                              {MM_MODEM: {'SignalQuality': quality_value(quality)}}],
                             dbus_interface=MOCK)

    network_manager = bus.get_object(NM, NM_ROOT)
    network_manager.AddObject(DEVICE_PATH, NM_DEVICE, {
        'DeviceType': dbus.UInt32(8),
        'State': dbus.UInt32(30),
        'StateReason': dbus.Struct((dbus.UInt32(30), dbus.UInt32(0)), signature='uu'),
        'Interface': 'ttyUSB0',
        'Udi': MODEM_PATH,
        'ActiveConnection': dbus.ObjectPath('/'),
        'AvailableConnections': dbus.Array([], signature='o'),
        'Managed': True,
        'Driver': 'dbusmock',
    }, [], dbus_interface=MOCK)
    manager = bus.get_object(NM, NM_PATH)
    devices = manager.Get(NM, 'Devices', dbus_interface=PROPERTIES)
    manager.Set(NM, 'Devices', dbus.Array([*devices, dbus.ObjectPath(DEVICE_PATH)], signature='o'),
                dbus_interface=PROPERTIES)
    manager.EmitSignal(NM, 'DeviceAdded', 'o', [dbus.ObjectPath(DEVICE_PATH)],
                       dbus_interface=MOCK)

    settings = bus.get_object(NM, NM_PATH + '/Settings')
    settings.AddConnection({'connection': {'id': connection_id, 'type': 'gsm'},
                            'gsm': {'apn': 'internet'}},
                           dbus_interface=NM + '.Settings')


def start(connection_id, quality):
    # dbusmock's private system bus: anyone may own any name and call
    # anything, and nothing is started on demand. It sets
    # DBUS_SYSTEM_BUS_ADDRESS for the mocks.
    DBusTestCase.start_system_bus()
    address = os.environ['DBUS_SYSTEM_BUS_ADDRESS']
    data = os.path.dirname(DBusTestCase.get_services_dir())
    mocks = []

    def stop(*_):
        for process in mocks:
            process.terminate()
            process.wait()
        DBusTestCase.tearDownClass()
        shutil.rmtree(data, ignore_errors=True)  # dbusmock 0.28's tearDownClass leaves it
        sys.exit(0)

    signal.signal(signal.SIGTERM, stop)
    signal.signal(signal.SIGINT, stop)
    try:
        mocks.append(spawn_mock(['--template', 'networkmanager'], NM, NM_PATH))
        mocks.append(spawn_mock(['--system', '--is-object-manager', MM, MM_PATH, MM], MM, MM_PATH))
        set_up(dbus.bus.BusConnection(address), connection_id, quality)
    except BaseException:
        stop()
        raise
    print(address, flush=True)
    while True:
        signal.pause()


def our_actives(bus):
    """The active connections on the modem device, by path, with their states."""
    manager = bus.get_object(NM, NM_PATH)
    actives = {}
    for path in manager.Get(NM, 'ActiveConnections', dbus_interface=PROPERTIES):
        active = bus.get_object(NM, path)
        actives[str(path)] = int(active.Get(NM_ACTIVE, 'State', dbus_interface=PROPERTIES))
    return actives


def main(argv):
    if len(argv) >= 2 and argv[0] == 'start' and len(argv) <= 3:
        start(argv[1], int(argv[2]) if len(argv) == 3 else 80)
        return 0
    if len(argv) < 2:
        sys.stderr.write(__doc__)
        return 2
    command, bus = argv[0], dbus.bus.BusConnection(argv[1])
    if command == 'quality' and len(argv) == 3:
        bus.get_object(MM, MODEM_PATH).Set(MM_MODEM, 'SignalQuality', quality_value(int(argv[2])),
                                            dbus_interface=PROPERTIES)
    elif command == 'deactivate' and len(argv) == 2:
        network_manager = bus.get_object(NM, NM_ROOT)
        for path in our_actives(bus):
            network_manager.RemoveActiveConnection(DEVICE_PATH, path, dbus_interface=MOCK)
    elif command == 'state' and len(argv) == 2:
        states = our_actives(bus).values()
        print(STATES.get(min(states), 'unknown') if states else 'down')
    elif command == 'calls' and len(argv) == 3:
        calls = bus.get_object(NM, NM_PATH).GetMethodCalls(argv[2], dbus_interface=MOCK)
        print(len(calls))
    else:
        sys.stderr.write(__doc__)
        return 2
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
