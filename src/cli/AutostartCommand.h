#pragma once

#include "cli/Command.h"

// --autostart [on|off]: the entry that starts the program at login.
class AutostartCommand : public Command
{
public:
    AutostartCommand();
    int run(const CommandRun& run) const override;
};
