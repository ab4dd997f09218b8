#pragma once

#include "cli/Command.h"

#include <QDate>

// --restore DATE: the data files as they stood at the end of that day.
class RestoreCommand : public Command
{
public:
    RestoreCommand();
    Values nameValues() const override { return {1, 0}; }
    Result read(const Given& given) override;
    int run(const CommandRun& run) const override;

private:
    QDate m_date;
};
