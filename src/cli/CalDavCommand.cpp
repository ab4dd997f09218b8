#include "cli/CalDavCommand.h"

#include "cli/CommandLine.h"
#include "cli/CommandRun.h"
#include "cli/SyncHelper.h"

CalDavCommand::CalDavCommand()
    : Command(
          QStringLiteral("--caldav"),
          QStringLiteral("--caldav [URL [--user 用户名] [--tasklist 名称] | off]"),
          QStringLiteral("  --caldav URL       与 URL 处的 CalDAV 任务列表同步日程（列表不存在时新建）；\n"
                         "                     URL 也可以是服务器的地址，程序自己找到任务列表，有几个时\n"
                         "                     用 --tasklist 名称 选择；服务器要密码时从标准输入读取，\n"
                         "                     存入桌面的密钥存储\n"
                         "  --caldav off       断开任务列表，两边的日程都不删除；不带参数则显示现状\n"))
{
}

bool CalDavCommand::needsHelper(const CommandLine&) const
{
    return true;
}

int CalDavCommand::run(const CommandRun& run) const
{
    return run.helper.caldav(run);
}
