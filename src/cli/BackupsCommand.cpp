#include "cli/BackupsCommand.h"

#include "backup/core/Backups.h"
#include "calendar/core/DateText.h"
#include "cli/AgendaFolder.h"
#include "cli/CommandLine.h"
#include "cli/CommandRun.h"

BackupsCommand::BackupsCommand()
    : Command(QStringLiteral("--backups"), QStringLiteral("--backups"),
              QStringLiteral("  --backups          列出可以恢复的日期\n"))
{
}

int BackupsCommand::run(const CommandRun& run) const
{
    const Backups backups(run.folder.disk(), run.folder.appDir(), run.folder.elsewhere());
    const QList<QDate> dates = backups.dates();
    if (dates.isEmpty()) {
        print(stdout, QStringLiteral("还没有备份。"));
        return 0;
    }
    print(stdout, QStringLiteral("可以恢复的日期（kestrin --restore 日期）："));
    for (QDate date : dates) {
        QStringList files;
        for (const Backups::Copy& copy : backups.copiesFor(date))
            if (!copy.path.isEmpty())
                files.append(copy.fileName);
        print(stdout, DateText::format(date) + QStringLiteral("  ") + files.join(u' '));
    }
    return 0;
}
