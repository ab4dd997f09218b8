#pragma once

#include "cli/Command.h"

// --tag TEXT TAGS: an item's tags, replacing its own (empty clears them), to the running copy or
// written here. One value alone is --list's tag.
class TagCommand : public Command
{
public:
    TagCommand();
    Values nameValues() const override { return {1, 1}; }
    Result read(const Given& given) override;
    int run(const CommandRun& run) const override;

private:
    QString m_text;
    QStringList m_tags;
};
