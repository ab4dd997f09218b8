#include "cli/TimeCommand.h"

#include "agenda/core/AgendaChange.h"
#include "calendar/core/DateText.h"
#include "cli/CommandLine.h"
#include "cli/CommandRun.h"
#include "cli/FolderChange.h"

TimeCommand::TimeCommand()
    : Command(
          QStringLiteral("--time"), QStringLiteral("--time 内容 时间"),
          QStringLiteral("  --time 内容 时间   设置已有日程的提醒时间（如 15:00、下午3点），在完成日期的\n"
                         "                     这一时刻提醒；off 为不提醒\n"))
{
}

int TimeCommand::run(const CommandRun& run) const
{
    const CommandLine& options = run.options;
    const QString& text = options.itemText;
    const QTime time = options.itemTime;
    const Result set = FolderChange::apply(run.disk, options.appDir, run.elsewhere, run.clock,
                                           AgendaChange::setTime(text, time));
    if (!set)
        return printed(set);
    return printed(time.isValid()
                       ? QStringLiteral("已设置：%1（%2 提醒）").arg(text, DateText::formatTime(time))
                       : QStringLiteral("已设置：%1（不提醒）").arg(text));
}
