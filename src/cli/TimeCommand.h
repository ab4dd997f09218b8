#pragma once

#include "cli/Command.h"

#include <QTime>

// --time TEXT TIME: the time of day an item already there is reminded at, or off, to the running
// copy or written here.
class TimeCommand : public Command
{
public:
    TimeCommand();
    Values nameValues() const override { return {2, 0}; }
    Result read(const Given& given) override;
    int run(const CommandRun& run) const override;

private:
    QString m_text;
    QTime m_time; // invalid for off
};
