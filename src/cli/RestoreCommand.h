#pragma once

#include "cli/Command.h"

// --restore DATE: the data files as they stood at the end of that day.
class RestoreCommand : public Command
{
public:
    RestoreCommand();
    int run(const CommandRun& run) const override;
};
