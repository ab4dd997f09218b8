#!/usr/bin/python3
"""Small X queries for the end-to-end test: tray owner, the program's windows and its tray icon."""
import sys
from Xlib import X, display


def windows_of(d, pid):
    atom = d.intern_atom('_NET_WM_PID')
    root = d.screen().root
    found = []
    stack = [root]
    while stack:
        w = stack.pop()
        try:
            children = w.query_tree().children
        except Exception:
            continue
        for c in children:
            stack.append(c)
            try:
                prop = c.get_full_property(atom, X.AnyPropertyType)
            except Exception:
                prop = None
            if prop and prop.value and prop.value[0] == pid:
                found.append(c)
    return found


def mapped_main_window(d, pid):
    for w in windows_of(d, pid):
        try:
            if w.get_wm_name() == 'Kestrin' and w.get_attributes().map_state == X.IsViewable:
                return w
        except Exception:
            continue
    return None


def mapped_top_level(d, pid):
    # Any window of the program's that is a mapped child of the root: its first window on screen.
    root = d.screen().root
    for w in windows_of(d, pid):
        try:
            if w.query_tree().parent.id == root.id and w.get_attributes().map_state == X.IsViewable:
                return w
        except Exception:
            continue
    return None


def main():
    d = display.Display()
    cmd = sys.argv[1]
    if cmd in ('launch', 'launch-any'):
        # Starts the program and prints its pid and the milliseconds until its main window is
        # mapped, polling every 2 ms from here so that no process start-up blurs the figure.
        import subprocess
        import time
        start = time.monotonic()
        child = subprocess.Popen(sys.argv[2:], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                 start_new_session=True)
        mapped = mapped_main_window if cmd == 'launch' else mapped_top_level
        while mapped(d, child.pid) is None:
            if time.monotonic() - start > 20:
                print(child.pid, -1)
                return
            time.sleep(0.002)
        print(child.pid, round((time.monotonic() - start) * 1000, 1))
        return
    if cmd == 'tray-owner':
        owner = d.get_selection_owner(d.intern_atom('_NET_SYSTEM_TRAY_S0'))
        print(1 if owner != X.NONE and owner != 0 else 0)
    elif cmd == 'main-visible':
        # The main window: a top-level of the program named Kestrin that is mapped.
        pid = int(sys.argv[2])
        for w in windows_of(d, pid):
            try:
                name = w.get_wm_name()
                attrs = w.get_attributes()
            except Exception:
                continue
            if name == 'Kestrin' and attrs.map_state == X.IsViewable:
                print(w.id)
                return
        print(0)
    elif cmd in ('notice-visible', 'titled'):
        # Chinese titles: WM_NAME cannot carry them, _NET_WM_NAME (UTF-8) does.
        pid = int(sys.argv[2])
        title = 'Kestrin闹钟' if cmd == 'notice-visible' else sys.argv[3]
        net_name = d.intern_atom('_NET_WM_NAME')
        for w in windows_of(d, pid):
            try:
                prop = w.get_full_property(net_name, X.AnyPropertyType)
                name = bytes(prop.value).decode('utf-8') if prop else ''
                if name == title and w.get_attributes().map_state == X.IsViewable:
                    print(w.id)
                    return
            except Exception:
                continue
        print(0)
    elif cmd == 'wm-ready':
        # A window manager that runs says so on the root window.
        prop = d.screen().root.get_full_property(d.intern_atom('_NET_SUPPORTING_WM_CHECK'), X.AnyPropertyType)
        print(1 if prop and prop.value else 0)
    elif cmd == 'top-level':
        w = mapped_top_level(d, int(sys.argv[2]))
        print(w.id if w else 0)
    elif cmd == 'close':
        # What a window manager sends for the close box.
        from Xlib import protocol
        w = d.create_resource_object('window', int(sys.argv[2]))
        event = protocol.event.ClientMessage(window=w, client_type=d.intern_atom('WM_PROTOCOLS'),
                                             data=(32, [d.intern_atom('WM_DELETE_WINDOW'), X.CurrentTime, 0, 0, 0]))
        w.send_event(event)
        d.flush()
    elif cmd in ('click-when-hidden', 'wait-hidden'):
        # Waits until the window WIN stops being viewable, polling every 2 ms (a shell loop takes
        # 50 ms or more); click-when-hidden then clicks the tray icon ICON at once and prints how
        # long after the unmap it clicked; -1 when the window stayed.
        import time
        from Xlib.ext import xtest
        win = d.create_resource_object('window', int(sys.argv[2]))
        limit = time.monotonic() + float(sys.argv[-1])
        while win.get_attributes().map_state == X.IsViewable:
            if time.monotonic() > limit:
                print(-1)
                return
            time.sleep(0.002)
        if cmd == 'wait-hidden':
            print(0)
            return
        icon = d.create_resource_object('window', int(sys.argv[3]))
        seen = time.monotonic()
        icon.warp_pointer(11, 15)
        xtest.fake_input(d, X.ButtonPress, 1)
        xtest.fake_input(d, X.ButtonRelease, 1)
        d.sync()
        print(round((time.monotonic() - seen) * 1000, 1))
    elif cmd == 'tray-icon':
        # The icon: a window of the program whose parent is not the root and that has no WM_STATE.
        pid = int(sys.argv[2])
        root = d.screen().root
        wm_state = d.intern_atom('WM_STATE')
        for w in windows_of(d, pid):
            try:
                parent = w.query_tree().parent
                if parent.id == root.id or w.get_full_property(wm_state, X.AnyPropertyType):
                    continue
                if w.get_attributes().map_state != X.IsViewable:
                    continue
            except Exception:
                continue
            print(w.id)
            return
        print(0)


main()
