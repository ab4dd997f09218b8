#pragma once

#include "platform/TrayIcon.h"

#include <QtCore/qnamespace.h>

// What the notification icon's mouse events and the window's state changes lead to, apart from
// the widgets, so that the rules can be tested without a desktop.
namespace TrayRules {

enum class ClickAction
{
    Nothing,
    Restore,  // bring the window back in its last state, with the focus
    Minimize, // send it to the notification area
};

// Releases act; a double click is the second release of two. The right button's menu is shown by
// the platform itself.
ClickAction onClick(TrayClick click, bool windowMinimized);

// What a change of the main window's state does to the tray menu and to the window.
struct StateChange
{
    enum Window
    {
        Keep,
        HideInTray,       // minimized: off the task bar, back by the icon
        ShowAtNormalSize, // back from minimized or maximized
    };
    bool updatesMenu = false; // 恢复 and 最小化 change only when the window leaves or reaches minimized
    bool minimizeEnabled = false;
    bool restoreEnabled = false;
    Window window = Keep;
    Qt::WindowStates lastState; // the state the window comes back in: never minimized
};
// hasTray: without a notification area a hidden window could not be brought back, so it stays on
// the task bar.
StateChange onWindowState(Qt::WindowStates state, Qt::WindowStates lastState, bool hasTray);

// The tip as the notification area holds it: at most 64 characters, never cut inside one.
QString tipText(const QString& text);

} // namespace TrayRules
