#pragma once

struct CommandLine;

// --caldav and --sync, in the helper that alone of the program's parts loads the network: each
// prints what it did (UTF-8) and returns the exit code, 0 done, 1 refused or failed.
namespace SyncCommands {

int caldav(const CommandLine& options);
int sync(const CommandLine& options);

} // namespace SyncCommands
