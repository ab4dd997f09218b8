#include "cli/RemindCommand.h"

#include "agenda/core/DueReminder.h"
#include "cli/CommandLine.h"
#include "cli/CommandRun.h"
#include "cli/ScriptRequests.h"
#include "platform/files/Settings.h"
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

Result RemindCommand::read(const Given& given)
{
    const QStringList values = given.value(name());
    const QString usage = QStringLiteral("--remind 后面应是每天提醒的时间（如 08:30）或 off");
    if (values.isEmpty())
        return Result::failed(usage);
    const ResultOf<std::optional<QTime>> at = timeOrOff(values.first(), usage);
    if (!at)
        return Result::failed(usage);
    m_at = *at;
    return Result::done();
}

int RemindCommand::run(const CommandRun& run) const
{
    const CommandLine& options = run.options;
    const QString settings = QDir(options.appDir).filePath(QString::fromUtf8(Settings::fileName));
    if (const Result chosen = DueReminder::choose(settings, m_at); !chosen) {
        print(stderr, QStringLiteral("kestrin: %1，到期提醒未更改。").arg(chosen.error()));
        return 1;
    }
    // A copy running for the folder reads it again; none running is no matter.
    (void)SingleInstance::send(options.appDir, ScriptRequests::settingsRequest(), 2000);
    print(stdout, m_at ? QStringLiteral("到期提醒：每天 %1").arg(m_at->toString(QStringLiteral("HH:mm")))
                       : QStringLiteral("到期提醒：关"));
    return 0;
}
