#!/usr/bin/python3
# NetworkManager for a test, as a process of its own as the real one is: owns its name on the bus
# given, says "ready", then announces each state read from stdin, one a line, until stdin ends.
import sys

import dbus
import dbus.lowlevel

bus = dbus.bus.BusConnection(sys.argv[1])
bus.request_name("org.freedesktop.NetworkManager")
print("ready", flush=True)
for line in sys.stdin:
    announcement = dbus.lowlevel.SignalMessage(
        "/org/freedesktop/NetworkManager", "org.freedesktop.NetworkManager", "StateChanged")
    announcement.append(dbus.UInt32(int(line)))
    bus.send_message(announcement)
bus.flush()
