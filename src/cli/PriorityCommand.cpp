#include "cli/PriorityCommand.h"

#include "agenda/core/AgendaChange.h"
#include "cli/AgendaFolder.h"
#include "cli/CommandRun.h"

PriorityCommand::PriorityCommand()
    : Command(QStringLiteral("--priority"), QStringLiteral("--priority 内容 高|中|低|无"),
              QStringLiteral("  --priority 内容 级别  设置日程的优先级：高、中、低，或无\n"))
{
}

Result PriorityCommand::read(const Given& given)
{
    const QStringList values = given.value(name());
    if (values.size() != 2)
        return Result::failed(QStringLiteral("--priority 后面应是日程内容与优先级，如 --priority 写周报 高"));
    const std::optional<ItemStructure::Priority> priority =
        ItemStructure::priorityNamed(values.last().trimmed());
    if (!priority)
        return Result::failed(QStringLiteral("优先级“%1”应为 高、中、低 或 无").arg(values.last()));
    m_text = values.first();
    m_priority = *priority;
    return Result::done();
}

int PriorityCommand::run(const CommandRun& run) const
{
    const Result set = run.folder.apply(AgendaChange::setPriority(m_text, m_priority));
    if (!set)
        return printed(set);
    return printed(
        QStringLiteral("已设置：%1（优先级：%2）").arg(m_text, ItemStructure::priorityName(m_priority)));
}
