#pragma once

#include "cli/Command.h"

// --repeat TEXT KIND: how an item already there repeats, to the running copy or written here.
class RepeatCommand : public Command
{
public:
    RepeatCommand();
    int run(const CommandRun& run) const override;
};
