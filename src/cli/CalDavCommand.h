#pragma once

#include "cli/Command.h"

// --caldav: the CalDAV task list the agenda syncs with, which the sync helper links or forgets.
class CalDavCommand : public Command
{
public:
    CalDavCommand();
    bool needsHelper(const CommandLine&) const override;
    int run(const CommandRun& run) const override;
};
