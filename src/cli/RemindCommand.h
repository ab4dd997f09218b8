#pragma once

#include "cli/Command.h"

#include <QTime>

#include <optional>

// --remind HH:MM|off: the daily word's time, told to the running copy.
class RemindCommand : public Command
{
public:
    RemindCommand();
    Values nameValues() const override { return {1, 0}; }
    Result read(const Given& given) override;
    int run(const CommandRun& run) const override;

private:
    std::optional<QTime> m_at; // nothing: off
};
