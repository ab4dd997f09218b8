#pragma once

#include "agenda/core/ItemStructure.h"
#include "cli/Command.h"

// --priority TEXT LEVEL: an item's priority, 高, 中, 低 or 无, to the running copy or written here.
class PriorityCommand : public Command
{
public:
    PriorityCommand();
    Values nameValues() const override { return {2, 0}; }
    Result read(const Given& given) override;
    int run(const CommandRun& run) const override;

private:
    QString m_text;
    ItemStructure::Priority m_priority = ItemStructure::NoPriority;
};
