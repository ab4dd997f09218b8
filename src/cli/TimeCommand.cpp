#include "cli/TimeCommand.h"

#include "agenda/core/AgendaChange.h"
#include "calendar/core/DateText.h"
#include "cli/AgendaFolder.h"
#include "cli/CommandLine.h"
#include "cli/CommandRun.h"

TimeCommand::TimeCommand()
    : Command(
          QStringLiteral("--time"), QStringLiteral("--time 内容 时间"),
          QStringLiteral("  --time 内容 时间   设置已有日程的提醒时间（如 15:00、下午3点），在完成日期的\n"
                         "                     这一时刻提醒；off 为不提醒\n"))
{
}

Result TimeCommand::read(const Given& given)
{
    const QStringList values = given.value(name());
    const QString usage = QStringLiteral("--time 后面应是日程内容与提醒时间（如 15:00、下午3点）或 off");
    if (values.size() != 2)
        return Result::failed(usage);
    m_text = values.first();
    const ResultOf<std::optional<QTime>> time = timeOrOff(values.last(), usage);
    if (!time)
        return time.result();
    m_time = time->value_or(QTime());
    return Result::done();
}

int TimeCommand::run(const CommandRun& run) const
{
    const QString& text = m_text;
    const QTime time = m_time;
    const Result set = run.folder.apply(AgendaChange::setTime(text, time));
    if (!set)
        return printed(set);
    return printed(time.isValid()
                       ? QStringLiteral("已设置：%1（%2 提醒）").arg(text, DateText::formatTime(time))
                       : QStringLiteral("已设置：%1（不提醒）").arg(text));
}
