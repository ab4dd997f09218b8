#include "cli/RestoreCommand.h"

#include "backup/core/Backups.h"
#include "calendar/core/DateText.h"
#include "cli/AgendaFolder.h"
#include "cli/CommandLine.h"
#include "cli/CommandRun.h"

RestoreCommand::RestoreCommand()
    : Command(
          QStringLiteral("--restore"), QStringLiteral("--restore YYYY-MM-DD"),
          QStringLiteral("  --restore 日期     恢复到该日结束时的 agenda.txt、repeat.txt、structure.txt 与\n"
                         "                     my.log；现有文件先存为同名的 .before-restore 文件\n"))
{
}

Result RestoreCommand::read(const Given& given)
{
    const QString date = given.value(name()).value(0);
    m_date = DateText::read(date);
    if (!m_date.isValid() || date.size() != 10)
        return Result::failed(QStringLiteral("--restore 后面应是一个日期，如 2026-12-06"));
    return Result::done();
}

int RestoreCommand::run(const CommandRun& run) const
{
    const QString& appDir = run.folder.appDir();
    // A running copy would write its table over the restored files, or they under its feet.
    const auto lock = run.folder.lock();
    if (!lock) {
        print(stderr, run.folder.inUse() + QStringLiteral("，请先从托盘菜单退出它，再恢复。"));
        return 1;
    }
    Backups backups(run.folder.disk(), appDir, run.folder.elsewhere());
    // The files replaced are kept as they stood at the end of their day, as before any change.
    printBackupProblems(backups.take());
    const ResultOf<QString> restored = backups.restore(m_date);
    print(restored ? stdout : stderr, restored ? *restored : restored.error());
    return restored ? 0 : 1;
}
