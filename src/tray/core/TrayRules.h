#pragma once

#include "TrayIcon.h"

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

// The tip as the notification area holds it: at most 64 characters, never cut inside one.
QString tipText(const QString& text);

} // namespace TrayRules
