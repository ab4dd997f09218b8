#include "cli/SyncCommand.h"

#include "cli/CommandLine.h"
#include "cli/CommandRun.h"
#include "cli/SyncHelper.h"

SyncCommand::SyncCommand()
    : Command(QStringLiteral("--sync"), QStringLiteral("--sync"),
              QStringLiteral("  --sync             立即同步，显示上传、下载、完成与冲突的条数\n"))
{
}

int SyncCommand::run(const CommandRun& run) const
{
    return run.helper.sync(run);
}
