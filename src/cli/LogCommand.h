#pragma once

#include "cli/Command.h"

// --log: my.log's lines for a script, every one or those found by words or dates.
class LogCommand : public Command
{
public:
    LogCommand();
    QList<Option> options() const override;
    Result read(const Given& given) override;
    int run(const CommandRun& run) const override;

private:
    QString m_findWords;
};
