#pragma once

#include "cli/Command.h"

// --month [YYYY-MM]: the month as the month window shows it, printed for a terminal or a script.
class MonthCommand : public Command
{
public:
    MonthCommand();
    int run(const CommandRun& run) const override;
};
