#pragma once

#include "cli/Command.h"

#include <QDate>

// --month [YYYY-MM]: the month as the month window shows it, printed for a terminal or a script.
class MonthCommand : public Command
{
public:
    MonthCommand();
    Values nameValues() const override { return {0, 1}; }
    Result read(const Given& given) override;
    int run(const CommandRun& run) const override;

private:
    QDate m_month; // its first day; invalid for this month
};
