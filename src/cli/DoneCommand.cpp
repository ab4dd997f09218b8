#include "cli/DoneCommand.h"

#include "agenda/core/AgendaChange.h"
#include "cli/CommandLine.h"
#include "cli/CommandRun.h"
#include "cli/FolderChange.h"
#include "platform/Clock.h"

DoneCommand::DoneCommand()
    : Command(
          QStringLiteral("--done"), QStringLiteral("--done 内容"),
          QStringLiteral("  --done 内容        完成日程，如同“删除日程”：记入日志；重复的日程移到下一次\n"))
{
}

int DoneCommand::run(const CommandRun& run) const
{
    const QString& text = run.options.itemText;
    const Result completed = FolderChange::apply(run.disk, run.options.appDir, run.elsewhere, run.clock,
                                                 AgendaChange::complete(text));
    if (!completed)
        return printed(completed);
    return printed(QStringLiteral("已完成：%1").arg(text));
}
