#include "cli/AddCommand.h"

#include "agenda/core/AgendaChange.h"
#include "agenda/core/ItemWords.h"
#include "calendar/core/HolidayFile.h"
#include "cli/CommandLine.h"
#include "cli/CommandRun.h"
#include "cli/FolderChange.h"
#include "platform/Clock.h"

AddCommand::AddCommand()
    : Command(QStringLiteral("--add"),
              QStringLiteral("--add 内容 --finish YYYY-MM-DD [--set YYYY-MM-DD] [--repeat 方式]"),
              QStringLiteral(
                  "  --add 内容         添加日程，规则与“添加日程”相同；设置日期默认为今天。日期也可以\n"
                  "                     写成明天、下周五、3天后、12月20日、国庆等，完成日期可带提醒时间，\n"
                  "                     如明天下午3点、周五 15:30\n"
                  "                     程序正在运行时由它写入。拒绝时退出码为 1，用法错误为 2\n"
                  "  --repeat 方式      与 --add 同用：重复的日程。方式为每天、每周、工作日、法定工作日、\n"
                  "                     每月、每年、农历每年（按完成日期），或每周五、每月15号、每月月底、\n"
                  "                     每年12月20日、每年农历八月十五；可不写 --finish，完成日期即今天起\n"
                  "                     的第一次\n"))
{
}

ResultOf<QString> AddCommand::addItem(TextFiles& disk, const QString& appDir, const QString& elsewhere,
                                      const Clock& clock, const AgendaItem& item)
{
    const Result added = FolderChange::apply(disk, appDir, elsewhere, clock, AgendaChange::add(item));
    if (!added)
        return added;
    return ItemWords::added(item);
}

int AddCommand::run(const CommandRun& run) const
{
    const CommandLine& options = run.options;
    const ResultOf<AgendaItem> item =
        ItemWords::read(options.addText, options.addSet, options.addFinish, options.repeatWords,
                        run.clock.now(), HolidayFile::loadOrShipped(run.disk, options.appDir));
    if (!item)
        return printed(item.result());
    return printed(addItem(run.disk, options.appDir, run.elsewhere, run.clock, *item));
}
