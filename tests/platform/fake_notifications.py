#!/usr/bin/python3
# A notification server for tests: owns org.freedesktop.Notifications on the session bus and
# appends "app<TAB>icon<TAB>summary<TAB>body" (then <TAB>key,label,... when it has buttons) to the
# file given for every notification, and "closed ID" for every one taken back. With "actions" as
# its second argument it offers buttons, and a test presses one with org.kestrin.Test.Press.
import sys

import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

NAME = "org.freedesktop.Notifications"


class Server(dbus.service.Object):
    def __init__(self, bus, log, actions):
        super().__init__(bus, "/org/freedesktop/Notifications")
        self.log = log
        self.actions = actions
        self.count = 0

    def write(self, line):
        with open(self.log, "a", encoding="utf-8") as f:
            f.write(line + "\n")

    @dbus.service.method(NAME, in_signature="susssasa{sv}i", out_signature="u")
    def Notify(self, app, replaces, icon, summary, body, actions, hints, timeout):
        self.count += 1
        line = f"{app}\t{icon}\t{summary}\t{body}"
        if actions:
            line += "\t" + ",".join(actions)
        self.write(line)
        return self.count

    @dbus.service.method(NAME, in_signature="u")
    def CloseNotification(self, id):
        self.write(f"closed {id}")
        self.NotificationClosed(id, 3)

    @dbus.service.method(NAME, out_signature="as")
    def GetCapabilities(self):
        return ["body", "actions"] if self.actions else ["body"]

    @dbus.service.method(NAME, out_signature="ssss")
    def GetServerInformation(self):
        return ("fake", "tests", "1", "1.2")

    @dbus.service.signal(NAME, signature="us")
    def ActionInvoked(self, id, key):
        pass

    @dbus.service.signal(NAME, signature="uu")
    def NotificationClosed(self, id, reason):
        pass

    @dbus.service.method("org.kestrin.Test", in_signature="us")
    def Press(self, id, key):
        self.ActionInvoked(id, key)
        self.NotificationClosed(id, 2)


DBusGMainLoop(set_as_default=True)
bus = dbus.SessionBus()
name = dbus.service.BusName(NAME, bus)
server = Server(bus, sys.argv[1], len(sys.argv) > 2 and sys.argv[2] == "actions")
GLib.MainLoop().run()
