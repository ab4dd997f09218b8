#include "cli/RepeatCommand.h"

#include "agenda/core/AgendaChange.h"
#include "calendar/core/TimeWords.h"
#include "cli/AgendaFolder.h"
#include "cli/CommandLine.h"
#include "cli/CommandRun.h"

RepeatCommand::RepeatCommand()
    : Command(QStringLiteral("--repeat"), QStringLiteral("--repeat 内容 方式"),
              QStringLiteral("  --repeat 内容 方式 设置已有日程的重复方式；off 为不重复\n"))
{
}

Result RepeatCommand::read(const Given& given)
{
    const QStringList values = given.value(name());
    if (values.isEmpty())
        return Result::failed(QStringLiteral("--repeat 后面应是重复方式，或日程内容与重复方式"));
    if (values.size() != 2)
        return Result::failed(QStringLiteral("--repeat 后面应是日程内容与重复方式，如 --repeat 交房租 每月"));
    m_text = values.first();
    const ResultOf<TimeWords::Said> said = TimeWords::split(values.last());
    if (!said)
        return said.result();
    if (said->time.isValid())
        return Result::failed(QStringLiteral("--repeat 的重复方式不带时间；提醒时间用 --time 内容 时间"));
    const ResultOf<RepeatWords> words = RepeatWords::parse(said->day);
    if (!words)
        return words.result();
    m_words = *words;
    return Result::done();
}

int RepeatCommand::run(const CommandRun& run) const
{
    const QString& text = m_text;
    const RepeatWords& words = m_words;
    const Result set = run.folder.apply(AgendaChange::setRepeat(text, words));
    if (!set)
        return printed(set);
    return printed(QStringLiteral("已设置：%1（%2）")
                       .arg(text, words.rule ? words.rule->text() : RepeatRule::kindName(words.kind)));
}
