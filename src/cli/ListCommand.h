#pragma once

#include "cli/Command.h"

// --list: the agenda's lines for a script, every one or those found; exit 1 when a find finds none.
class ListCommand : public Command
{
public:
    ListCommand();
    int run(const CommandRun& run) const override;

    // A listing's lines as they are; with --find, nothing found is exit 1.
    static int printFound(const QString& lines, const CommandLine& options);
};
