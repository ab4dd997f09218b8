#!/usr/bin/python3
# Reads the running program as a screen reader does, over AT-SPI. Commands:
#   focused          "role|name" of the object that has the keyboard focus
#   described        the description of the object that has the keyboard focus
#   press NAME       the press action of the button called NAME
#   find ROLE NAME   1 when an object with that role and name is showing, else 0
import sys

import pyatspi


def app():
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        a = desktop.getChildAtIndex(i)
        if a is not None and a.name.lower() == "kestrin":
            return a
    return None


def walk(node, depth=0):
    if node is None or depth > 12:
        return
    yield node
    for i in range(node.childCount):
        try:
            child = node.getChildAtIndex(i)
        except Exception:
            continue
        yield from walk(child, depth + 1)


def main():
    a = app()
    if a is None:
        print("no application")
        return 1
    cmd = sys.argv[1]
    if cmd == "focused":
        # A list's current line says it is focused whether or not the list is.
        found = [f"{n.getRoleName()}|{n.name}" for n in walk(a)
                 if n.getState().contains(pyatspi.STATE_FOCUSED) and n.getRoleName() != "list item"]
        print(found[0] if found else "none")
        return 0
    if cmd == "described":
        found = [n.description for n in walk(a)
                 if n.getState().contains(pyatspi.STATE_FOCUSED) and n.getRoleName() != "list item"]
        print(found[0] if found else "none")
        return 0
    if cmd == "press":
        for node in walk(a):
            if node.getRoleName() == "push button" and node.name == sys.argv[2]:
                action = node.queryAction()
                action.doAction(0)
                print("pressed")
                return 0
        print("no such button")
        return 1
    if cmd == "find":
        for node in walk(a):
            if node.getRoleName() == sys.argv[2] and node.name == sys.argv[3] and \
                    node.getState().contains(pyatspi.STATE_SHOWING):
                print(1)
                return 0
        print(0)
        return 0
    return 2


sys.exit(main())
