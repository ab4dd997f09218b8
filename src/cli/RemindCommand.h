#pragma once

#include "cli/Command.h"

// --remind HH:MM|off: the daily word's time, told to the running copy.
class RemindCommand : public Command
{
public:
    RemindCommand();
    int run(const CommandRun& run) const override;
};
