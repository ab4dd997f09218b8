#pragma once

#include "agenda/core/AgendaExport.h"
#include "cli/Command.h"

#include <functional>

// --export FILE: the agenda written out as a spreadsheet (CSV), a checklist (Markdown) or an
// iCalendar file, the kind by the file's ending or --format; "-" writes to standard output. --all
// adds the items archived in my.log, as completed. iCalendar is written by the sync helper, which
// alone loads libical.
class ExportCommand : public Command
{
public:
    ExportCommand();
    Values nameValues() const override { return {1, 0}; }
    QList<Option> options() const override;
    Result read(const Given& given) override;
    bool needsHelper() const override { return m_format == QStringLiteral("ics"); }
    int run(const CommandRun& run) const override;
    // The export with the bytes that writer makes of the entries: the helper's, for iCalendar.
    using Writer = std::function<QByteArray(const QList<AgendaExport::Entry>&)>;
    int exportWith(const CommandRun& run, const Writer& writer) const;

private:
    QString m_file;   // "-" for standard output
    QString m_format; // csv, md or ics
    bool m_all = false;
};
