#include "cli/QuickAddCommand.h"

#include "cli/CommandLine.h"
#include "cli/CommandRun.h"

QuickAddCommand::QuickAddCommand()
    : Command(QStringLiteral("--quick-add"), QStringLiteral("--quick-add"),
              QStringLiteral(
                  "  --quick-add        打开“快速添加日程”小窗口（可绑定到快捷键）：输入内容与完成日期\n"
                  "                     （明天、周五、12月20日等），回车添加，Esc 关闭\n"))
{
}

bool QuickAddCommand::opensWindow() const
{
    return true;
}

int QuickAddCommand::run(const CommandRun& run) const
{
    if (!run.openWindow) {
        print(stderr, QStringLiteral("kestrin: 找不到图形显示，无法打开快速添加窗口；可用 kestrin --add。"));
        return 1;
    }
    return run.openWindow();
}
