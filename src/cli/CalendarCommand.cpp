#include "cli/CalendarCommand.h"

#include "cli/AgendaFolder.h"
#include "cli/CommandLine.h"
#include "cli/CommandRun.h"
#include "cli/ScriptRequests.h"
#include "platform/instance/SingleInstance.h"

CalendarCommand::CalendarCommand()
    : Command(QStringLiteral("--calendar"), QStringLiteral("--calendar"),
              QStringLiteral("  --calendar         打开“月历”窗口（程序正在运行时由它打开）\n"))
{
}

bool CalendarCommand::opensWindow() const
{
    return true;
}

int CalendarCommand::run(const CommandRun& run) const
{
    if (const ResultOf<QJsonObject> answer =
            SingleInstance::send(run.folder.appDir(), ScriptRequests::calendarRequest(), 2000);
        answer && answer->value(QStringLiteral("ok")).toBool())
        return 0;
    if (!run.openWindow) {
        print(stderr, QStringLiteral("kestrin: 找不到图形显示，无法打开月历；可用 kestrin --month。"));
        return 1;
    }
    return run.openWindow();
}
