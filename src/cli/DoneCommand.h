#pragma once

#include "cli/Command.h"

// --done TEXT: an item completed as a deletion completes it, to the running copy or written here.
class DoneCommand : public Command
{
public:
    DoneCommand();
    int run(const CommandRun& run) const override;
};
