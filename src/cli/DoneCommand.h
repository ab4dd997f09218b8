#pragma once

#include "cli/Command.h"

// --done TEXT: an item completed as a deletion completes it, to the running copy or written here.
class DoneCommand : public Command
{
public:
    DoneCommand();
    Values nameValues() const override { return {1, 0}; }
    Result read(const Given& given) override;
    int run(const CommandRun& run) const override;

private:
    QString m_text;
};
