#pragma once

#include "platform/Result.h"

#include <QString>

// Starting at login, the freedesktop.org way: a desktop entry in
// $XDG_CONFIG_HOME/autostart (normally ~/.config/autostart).
namespace Autostart {

QString entryPath();
// The entry that starts program, with --dir dataDir unless dataDir is empty.
QString entry(const QString& program, const QString& dataDir);
// One argument of an Exec line, quoted where it needs to be.
QString quoteArgument(const QString& argument);
bool isOn();
Result set(bool on, const QString& program, const QString& dataDir);

} // namespace Autostart
