#pragma once

#include "cli/Command.h"

// --export FILE: the agenda written out as a spreadsheet (CSV) or a checklist (Markdown), the
// kind by the file's ending or --format; "-" writes to standard output. --all adds the items
// archived in my.log, as completed.
class ExportCommand : public Command
{
public:
    ExportCommand();
    Values nameValues() const override { return {1, 0}; }
    QList<Option> options() const override;
    Result read(const Given& given) override;
    int run(const CommandRun& run) const override;

private:
    QString m_file;   // "-" for standard output
    QString m_format; // csv or md
    bool m_all = false;
};
