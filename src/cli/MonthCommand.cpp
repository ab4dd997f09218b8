#include "cli/MonthCommand.h"

#include "agenda/core/AgendaFile.h"
#include "agenda/core/AgendaStore.h"
#include "agenda/core/MonthSheet.h"
#include "calendar/core/HolidayFile.h"
#include "cli/CommandLine.h"
#include "cli/CommandRun.h"
#include "log/core/LogFile.h"
#include "platform/Clock.h"

#include <QDir>

MonthCommand::MonthCommand()
    : Command(QStringLiteral("--month"), QStringLiteral("--month [YYYY-MM]"),
              QStringLiteral(
                  "  --month [年-月]     显示一个月（默认本月，UTF-8）：每天的日期与休/班、节日、节气\n"
                  "                     或农历日、完成的日程件数（! 表示有逾期）\n"))
{
}

int MonthCommand::run(const CommandRun& run) const
{
    const CommandLine& options = run.options;
    const QDate today = run.clock.today();
    const QDate month =
        options.monthShown.isValid() ? options.monthShown : QDate(today.year(), today.month(), 1);
    // Read through the store, which puts the repeating items' rules with them; it writes nothing here.
    AgendaStore store(run.disk, QDir(options.appDir).filePath(QString::fromUtf8(AgendaFile::fileName)),
                      QDir(options.appDir).filePath(QString::fromUtf8(LogFile::fileName)));
    if (const Result loaded = store.load(today); !loaded) {
        print(stderr, QStringLiteral("kestrin: ") + loaded.error());
        return 1;
    }
    const MonthSheet sheet(month.year(), month.month(), store.table().items, today,
                           HolidayFile::loadOrShipped(run.disk, options.appDir));
    write(stdout, sheet.text());
    return 0;
}
