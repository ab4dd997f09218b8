#include "cli/MonthCommand.h"

#include "agenda/core/MonthSheet.h"
#include "cli/AgendaFolder.h"
#include "cli/CommandLine.h"
#include "cli/CommandRun.h"
#include "platform/Clock.h"

MonthCommand::MonthCommand()
    : Command(QStringLiteral("--month"), QStringLiteral("--month [YYYY-MM]"),
              QStringLiteral(
                  "  --month [年-月]     显示一个月（默认本月，UTF-8）：每天的日期与休/班、节日、节气\n"
                  "                     或农历日、完成的日程件数（! 表示有逾期）\n"))
{
}

Result MonthCommand::read(const Given& given)
{
    if (given.value(name()).isEmpty())
        return Result::done();
    m_month =
        QDate::fromString(given.value(name()).first() + QStringLiteral("-01"), QStringLiteral("yyyy-M-dd"));
    if (!m_month.isValid() || m_month.year() < 1901 || m_month.year() > 2099)
        return Result::failed(QStringLiteral("--month 后面应是年与月，如 2027-02"));
    return Result::done();
}

int MonthCommand::run(const CommandRun& run) const
{
    const QDate today = run.folder.clock().today();
    const QDate month = m_month.isValid() ? m_month : QDate(today.year(), today.month(), 1);
    const ResultOf<const AgendaTable*> agenda = run.folder.agenda();
    if (!agenda) {
        print(stderr, QStringLiteral("kestrin: ") + agenda.error());
        return 1;
    }
    const MonthSheet sheet(month.year(), month.month(), (*agenda)->items, today, run.folder.holidays());
    write(stdout, sheet.text());
    return 0;
}
