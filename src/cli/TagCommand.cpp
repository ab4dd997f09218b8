#include "cli/TagCommand.h"

#include "agenda/core/AgendaChange.h"
#include "agenda/core/ItemStructure.h"
#include "cli/AgendaFolder.h"
#include "cli/CommandRun.h"

TagCommand::TagCommand()
    : Command(
          QStringLiteral("--tag"), QStringLiteral("--tag 内容 标签[,标签…]"),
          QStringLiteral("  --tag 内容 标签    设置日程的标签（取代原有的），以逗号分开；\"\" 清除标签\n"))
{
}

Result TagCommand::read(const Given& given)
{
    const QStringList values = given.value(name());
    if (values.size() != 2)
        return Result::failed(QStringLiteral("--tag 后面应是日程内容与标签，如 --tag 写周报 工作,家庭"));
    m_text = values.first();
    m_tags = ItemStructure::splitTags(values.last());
    return Result::done();
}

int TagCommand::run(const CommandRun& run) const
{
    const Result set = run.folder.apply(AgendaChange::setTags(m_text, m_tags));
    if (!set)
        return printed(set);
    return printed(m_tags.isEmpty()
                       ? QStringLiteral("已清除：%1 的标签").arg(m_text)
                       : QStringLiteral("已设置：%1（标签：%2）").arg(m_text, m_tags.join(u'、')));
}
