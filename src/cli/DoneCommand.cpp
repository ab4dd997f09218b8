#include "cli/DoneCommand.h"

#include "agenda/core/AgendaChange.h"
#include "cli/AgendaFolder.h"
#include "cli/CommandLine.h"
#include "cli/CommandRun.h"

DoneCommand::DoneCommand()
    : Command(
          QStringLiteral("--done"), QStringLiteral("--done 内容"),
          QStringLiteral("  --done 内容        完成日程，如同“删除日程”：记入日志；重复的日程移到下一次\n"))
{
}

Result DoneCommand::read(const Given& given)
{
    if (given.value(name()).isEmpty())
        return Result::failed(QStringLiteral("--done 后面应是日程内容"));
    m_text = given.value(name()).first();
    return Result::done();
}

int DoneCommand::run(const CommandRun& run) const
{
    const QString& text = m_text;
    const Result completed = run.folder.apply(AgendaChange::complete(text));
    if (!completed)
        return printed(completed);
    return printed(QStringLiteral("已完成：%1").arg(text));
}
