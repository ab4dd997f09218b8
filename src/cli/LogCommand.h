#pragma once

#include "cli/Command.h"

// --log: my.log's lines for a script, every one or those found by words or dates.
class LogCommand : public Command
{
public:
    LogCommand();
    int run(const CommandRun& run) const override;
};
