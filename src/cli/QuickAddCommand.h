#pragma once

#include "cli/Command.h"

// --quick-add: the small window for one item, in a process of its own.
class QuickAddCommand : public Command
{
public:
    QuickAddCommand();
    bool opensWindow() const override;
    int run(const CommandRun& run) const override;
};
