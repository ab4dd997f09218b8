#pragma once

#include "cli/Command.h"

// --calendar: the month window, the running copy's when one runs, else one of its own.
class CalendarCommand : public Command
{
public:
    CalendarCommand();
    bool opensWindow() const override;
    int run(const CommandRun& run) const override;
};
