#include "cli/RestoreCommand.h"

#include "backup/core/Backups.h"
#include "cli/CommandLine.h"
#include "cli/CommandRun.h"
#include "cli/FolderChange.h"

RestoreCommand::RestoreCommand()
    : Command(QStringLiteral("--restore"), QStringLiteral("--restore YYYY-MM-DD"),
              QStringLiteral(
                  "  --restore 日期     恢复到该日结束时的 agenda.txt、repeat.txt 与 my.log；现有文件先存为\n"
                  "                     同名的 .before-restore 文件\n"))
{
}

int RestoreCommand::run(const CommandRun& run) const
{
    const QString& appDir = run.options.appDir;
    // A running copy would write its table over the restored files, or they under its feet.
    const auto lock = FolderChange::lock(appDir);
    if (!lock) {
        print(stderr, FolderChange::inUse(appDir) + QStringLiteral("，请先从托盘菜单退出它，再恢复。"));
        return 1;
    }
    Backups backups(run.disk, appDir, run.elsewhere);
    // The files replaced are kept as they stood at the end of their day, as before any change.
    printBackupProblems(backups.take());
    const ResultOf<QString> restored = backups.restore(run.options.restoreDate);
    print(restored ? stdout : stderr, restored ? *restored : restored.error());
    return restored ? 0 : 1;
}
