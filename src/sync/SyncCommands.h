#pragma once

#include "cli/CalDavCommand.h"

class TextFiles;
struct CommandRun;

// --caldav and --sync, in the helper that alone of the program's parts loads the network: each
// prints what it did (UTF-8) and returns the exit code, 0 done, 1 refused or failed.
namespace SyncCommands {

// disk: the data folder's files as they are on disk.
int caldav(TextFiles& disk, const CalDavCommand::Asked& asked);
int sync(TextFiles& disk, const QString& appDir);
// --export to an iCalendar file, a synced item keeping its task's UID.
int exportCalendar(const CommandRun& run);

} // namespace SyncCommands
