#include "cli/DoneCommand.h"

#include "agenda/core/AgendaChange.h"
#include "cli/AgendaFolder.h"
#include "cli/CommandLine.h"
#include "cli/CommandRun.h"

DoneCommand::DoneCommand()
    : Command(
          QStringLiteral("--done"), QStringLiteral("--done 内容 [--with-subtasks]"),
          QStringLiteral("  --done 内容        完成日程，如同“删除日程”：记入日志；重复的日程移到下一次。\n"
                         "                     有未完成的子任务时拒绝，除非加 --with-subtasks（一并完成）\n"))
{
}

QList<Command::Option> DoneCommand::options() const
{
    return {{QStringLiteral("--with-subtasks"), 0, QStringLiteral("--with-subtasks 只用于 --done"), {}}};
}

Result DoneCommand::read(const Given& given)
{
    m_withSubtasks = given.contains(QStringLiteral("--with-subtasks"));
    if (given.value(name()).isEmpty())
        return Result::failed(QStringLiteral("--done 后面应是日程内容"));
    m_text = given.value(name()).first();
    return Result::done();
}

int DoneCommand::run(const CommandRun& run) const
{
    const QString& text = m_text;
    const Result completed = run.folder.apply(AgendaChange::complete(
        text, m_withSubtasks ? AgendaChange::WithSubtasks : AgendaChange::RefuseSubtasks));
    if (!completed)
        return printed(completed);
    return printed(QStringLiteral("已完成：%1").arg(text));
}
