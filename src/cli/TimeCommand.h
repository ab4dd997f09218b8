#pragma once

#include "cli/Command.h"

// --time TEXT TIME: the time of day an item already there is reminded at, or off, to the running
// copy or written here.
class TimeCommand : public Command
{
public:
    TimeCommand();
    int run(const CommandRun& run) const override;
};
