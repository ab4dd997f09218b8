#!/usr/bin/python3
# A notification server for tests: owns org.freedesktop.Notifications on the session bus and
# appends "app<TAB>icon<TAB>summary<TAB>body" to the file given for every notification.
import sys

import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

NAME = "org.freedesktop.Notifications"


class Server(dbus.service.Object):
    def __init__(self, bus, log):
        super().__init__(bus, "/org/freedesktop/Notifications")
        self.log = log
        self.count = 0

    @dbus.service.method(NAME, in_signature="susssasa{sv}i", out_signature="u")
    def Notify(self, app, replaces, icon, summary, body, actions, hints, timeout):
        self.count += 1
        with open(self.log, "a", encoding="utf-8") as f:
            f.write(f"{app}\t{icon}\t{summary}\t{body}\n")
        return self.count

    @dbus.service.method(NAME, out_signature="as")
    def GetCapabilities(self):
        return ["body"]

    @dbus.service.method(NAME, out_signature="ssss")
    def GetServerInformation(self):
        return ("fake", "tests", "1", "1.2")


DBusGMainLoop(set_as_default=True)
bus = dbus.SessionBus()
name = dbus.service.BusName(NAME, bus)
server = Server(bus, sys.argv[1])
GLib.MainLoop().run()
