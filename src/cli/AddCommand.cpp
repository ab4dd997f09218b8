#include "cli/AddCommand.h"

#include "agenda/core/AgendaChange.h"
#include "agenda/core/ItemWords.h"
#include "cli/AgendaFolder.h"
#include "cli/CommandLine.h"
#include "cli/CommandRun.h"
#include "platform/Clock.h"

AddCommand::AddCommand()
    : Command(QStringLiteral("--add"),
              QStringLiteral("--add 内容 --finish 日期 [--set 日期] [--repeat 方式] [--parent 父任务]"),
              QStringLiteral(
                  "  --add 内容         添加日程，规则与“添加日程”相同；设置日期默认为今天。日期也可以\n"
                  "                     写成明天、下周五、3天后、12月20日、国庆等，完成日期可带提醒时间，\n"
                  "                     如明天下午3点、周五 15:30；内容中的 #标签 与 !高、!中、!低 为标签\n"
                  "                     与优先级\n"
                  "                     程序正在运行时由它写入。拒绝时退出码为 1，用法错误为 2\n"
                  "  --repeat 方式      与 --add 同用：重复的日程。方式为每天、每周、工作日、法定工作日、\n"
                  "                     每月、每年、农历每年（按完成日期），或每周五、每月15号、每月月底、\n"
                  "                     每年12月20日、每年农历八月十五；可不写 --finish，完成日期即今天起\n"
                  "                     的第一次\n"
                  "  --parent 父任务    与 --add 同用：作为已有日程的子任务\n"))
{
}

ResultOf<QString> AddCommand::addItem(AgendaFolder& folder, const AgendaItem& item)
{
    const Result added = folder.apply(AgendaChange::add(item));
    if (!added)
        return added;
    return ItemWords::added(item);
}

QList<Command::Option> AddCommand::options() const
{
    const QString onlyAdd = QStringLiteral("--finish 与 --set 只用于 --add");
    return {{QStringLiteral("--finish"), 1, onlyAdd, QStringLiteral("--finish 后面应是完成日期")},
            {QStringLiteral("--set"), 1, onlyAdd, QStringLiteral("--set 后面应是设置日期")},
            {QStringLiteral("--parent"), 1, QStringLiteral("--parent 只用于 --add"),
             QStringLiteral("--parent 后面应是父任务的内容")},
            {QStringLiteral("--repeat"), 1, QString(),
             QStringLiteral("--repeat 后面应是重复方式，或日程内容与重复方式")}};
}

Result AddCommand::read(const Given& given)
{
    const QStringList text = given.value(name());
    if (text.isEmpty())
        return Result::failed(QStringLiteral("--add 后面应是日程内容"));
    m_text = text.first();
    const auto one = [&given](const QString& option, const QString& missing) -> ResultOf<QString> {
        if (!given.contains(option))
            return QString();
        if (given.value(option).isEmpty())
            return Result::failed(missing);
        return given.value(option).first();
    };
    const ResultOf<QString> finish =
        one(QStringLiteral("--finish"), QStringLiteral("--finish 后面应是完成日期"));
    if (!finish)
        return finish.result();
    const ResultOf<QString> set = one(QStringLiteral("--set"), QStringLiteral("--set 后面应是设置日期"));
    if (!set)
        return set.result();
    m_finish = *finish;
    m_set = *set;
    const ResultOf<QString> parent =
        one(QStringLiteral("--parent"), QStringLiteral("--parent 后面应是父任务的内容"));
    if (!parent)
        return parent.result();
    m_parent = *parent;
    if (given.contains(QStringLiteral("--repeat"))) {
        const QStringList repeat = given.value(QStringLiteral("--repeat"));
        if (repeat.isEmpty())
            return Result::failed(QStringLiteral("--repeat 后面应是重复方式，或日程内容与重复方式"));
        if (repeat.size() != 1)
            return Result::failed(QStringLiteral("--add 的 --repeat 后面只是一个重复方式"));
        const ResultOf<ItemWords::Repetition> repetition = ItemWords::readRepetition(repeat.first());
        if (!repetition)
            return repetition.result();
        m_repetition = *repetition;
    }
    // A repetition says the finish date too: its first day from today.
    if (!given.contains(QStringLiteral("--finish")) && m_repetition.words.kind == RepeatRule::None)
        return Result::failed(QStringLiteral("--add 需要 --finish 完成日期"));
    return Result::done();
}

int AddCommand::run(const CommandRun& run) const
{
    ResultOf<AgendaItem> item = ItemWords::read(m_text, m_set, m_finish, m_repetition,
                                                run.folder.clock().now(), run.folder.holidays());
    if (!item)
        return printed(item.result());
    item->structure.parent = m_parent;
    return printed(addItem(run.folder, *item));
}
