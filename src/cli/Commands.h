#pragma once

#include <QStringView>

#include <memory>
#include <vector>

class Command;

// The command line's tasks, one list for both programs, the usage and the manual page.
namespace Commands {

// In the order the usage lists them.
const std::vector<const Command*>& all();
// The command an option names, or none.
const Command* named(QStringView name);
// A fresh command of that name, to read a command line into.
std::unique_ptr<Command> make(QStringView name);

} // namespace Commands
