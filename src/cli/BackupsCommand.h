#pragma once

#include "cli/Command.h"

// --backups: the days a restore can go back to, with the files kept of each.
class BackupsCommand : public Command
{
public:
    BackupsCommand();
    int run(const CommandRun& run) const override;
};
