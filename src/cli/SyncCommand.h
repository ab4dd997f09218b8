#pragma once

#include "cli/Command.h"

// --sync: a sync now, in the sync helper.
class SyncCommand : public Command
{
public:
    SyncCommand();
    bool needsHelper() const override { return true; }
    int run(const CommandRun& run) const override;
};
