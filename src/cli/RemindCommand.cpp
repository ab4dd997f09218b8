#include "cli/RemindCommand.h"

#include "agenda/core/DueReminder.h"
#include "cli/CommandLine.h"
#include "cli/CommandRun.h"
#include "cli/ScriptRequests.h"
#include "platform/Settings.h"
#include "platform/instance/SingleInstance.h"

#include <QDir>
#include <QJsonObject>

RemindCommand::RemindCommand()
    : Command(
          QStringLiteral("--remind"), QStringLiteral("--remind HH:MM|off"),
          QStringLiteral("  --remind HH:MM     每天这个时间，有今天、明天到期或逾期的日程时发一条桌面通知；\n"
                         "                     --remind off 不再提醒（默认不提醒）\n"))
{
}

int RemindCommand::run(const CommandRun& run) const
{
    const CommandLine& options = run.options;
    const QString settings = QDir(options.appDir).filePath(QString::fromUtf8(Settings::fileName));
    if (const Result chosen = DueReminder::choose(settings, options.remindAt); !chosen) {
        print(stderr, QStringLiteral("kestrin: %1，到期提醒未更改。").arg(chosen.error()));
        return 1;
    }
    // A copy running for the folder reads it again; none running is no matter.
    (void)SingleInstance::send(options.appDir, ScriptRequests::settingsRequest(), 2000);
    print(stdout,
          options.remindAt
              ? QStringLiteral("到期提醒：每天 %1").arg(options.remindAt->toString(QStringLiteral("HH:mm")))
              : QStringLiteral("到期提醒：关"));
    return 0;
}
