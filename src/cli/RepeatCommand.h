#pragma once

#include "calendar/core/RepeatWords.h"
#include "cli/Command.h"

// --repeat TEXT KIND: how an item already there repeats, to the running copy or written here.
class RepeatCommand : public Command
{
public:
    RepeatCommand();
    // The item's text and the kind; one alone is --add's repetition.
    Values nameValues() const override { return {1, 1}; }
    Result read(const Given& given) override;
    int run(const CommandRun& run) const override;

private:
    QString m_text;
    RepeatWords m_words;
};
