#pragma once

#include "cli/Command.h"

// --done TEXT [--with-subtasks]: an item completed as a deletion completes it, to the running copy or written
// here.
class DoneCommand : public Command
{
public:
    DoneCommand();
    Values nameValues() const override { return {1, 0}; }
    QList<Option> options() const override;
    Result read(const Given& given) override;
    int run(const CommandRun& run) const override;

private:
    QString m_text;
    bool m_withSubtasks = false;
};
