#!/usr/bin/python3
"""A StatusNotifierItem host for tests, on the session bus, and its client side.

usage: sni.py host FILE     own org.kde.StatusNotifierWatcher; write each item that registers to FILE
       sni.py activate FILE  a left click on the registered item (Activate)
       sni.py menu FILE      the item's menu: one line per entry, "label<TAB>enabled"

Qt shows its tray icon over D-Bus only when the watcher says a host is registered, and it reads
that property through introspection: the XML below lists it, as dbus-python's own would not.
"""
import sys

import dbus
import dbus.service

WATCHER = "org.kde.StatusNotifierWatcher"
INTROSPECTION = """<node>
 <interface name="org.kde.StatusNotifierWatcher">
  <method name="RegisterStatusNotifierItem"><arg name="service" type="s" direction="in"/></method>
  <method name="RegisterStatusNotifierHost"><arg name="service" type="s" direction="in"/></method>
  <property name="RegisteredStatusNotifierItems" type="as" access="read"/>
  <property name="IsStatusNotifierHostRegistered" type="b" access="read"/>
  <property name="ProtocolVersion" type="i" access="read"/>
  <signal name="StatusNotifierItemRegistered"><arg type="s"/></signal>
  <signal name="StatusNotifierItemUnregistered"><arg type="s"/></signal>
  <signal name="StatusNotifierHostRegistered"/>
 </interface>
 <interface name="org.freedesktop.DBus.Properties">
  <method name="Get"><arg type="s" direction="in"/><arg type="s" direction="in"/><arg type="v" direction="out"/></method>
  <method name="GetAll"><arg type="s" direction="in"/><arg type="a{sv}" direction="out"/></method>
 </interface>
</node>"""


def host(path):
    from dbus.mainloop.glib import DBusGMainLoop
    from gi.repository import GLib

    class Watcher(dbus.service.Object):
        def __init__(self, bus):
            super().__init__(bus, "/StatusNotifierWatcher")
            self.items = []

        @dbus.service.method(WATCHER, in_signature="s", sender_keyword="sender")
        def RegisterStatusNotifierItem(self, service, sender=None):
            # An item names its bus name, or only its path on the sender's connection.
            item = service if not service.startswith("/") else sender + service
            self.items.append(item)
            with open(path, "a") as f:
                f.write(item + "\n")
            self.StatusNotifierItemRegistered(item)

        @dbus.service.method(WATCHER, in_signature="s")
        def RegisterStatusNotifierHost(self, service):
            pass

        @dbus.service.signal(WATCHER, signature="s")
        def StatusNotifierItemRegistered(self, item):
            pass

        @dbus.service.method("org.freedesktop.DBus.Properties", in_signature="ss", out_signature="v")
        def Get(self, interface, name):
            return self.GetAll(interface)[name]

        @dbus.service.method("org.freedesktop.DBus.Properties", in_signature="s", out_signature="a{sv}")
        def GetAll(self, interface):
            return {"RegisteredStatusNotifierItems": dbus.Array(self.items, signature="s"),
                    "IsStatusNotifierHostRegistered": dbus.Boolean(True),
                    "ProtocolVersion": dbus.Int32(0)}

        @dbus.service.method("org.freedesktop.DBus.Introspectable", out_signature="s")
        def Introspect(self):
            return INTROSPECTION

    DBusGMainLoop(set_as_default=True)
    bus = dbus.SessionBus()
    name = dbus.service.BusName(WATCHER, bus)
    watcher = Watcher(bus)
    GLib.MainLoop().run()


def item(path):
    with open(path) as f:
        service = f.read().split()[-1]
    name, _, object_path = service.partition("/")
    return dbus.SessionBus().get_object(name, "/" + (object_path or "StatusNotifierItem"))


def main():
    mode, path = sys.argv[1], sys.argv[2]
    if mode == "host":
        host(path)
    elif mode == "activate":
        item(path).Activate(0, 0, dbus_interface="org.kde.StatusNotifierItem")
    elif mode == "menu":
        sni = item(path)
        menu_path = sni.Get("org.kde.StatusNotifierItem", "Menu", dbus_interface="org.freedesktop.DBus.Properties")
        menu = dbus.SessionBus().get_object(sni.bus_name, menu_path)
        _, layout = menu.GetLayout(0, -1, [], dbus_interface="com.canonical.dbusmenu")
        for child in layout[2]:
            props = child[1]
            if props.get("type") == "separator":
                continue
            print("%s\t%s" % (props.get("label", ""), bool(props.get("enabled", True))))


main()
