// kestrin-sync: the program's --caldav, --sync and --holidays with a calendar file, in a process
// of its own so that the program itself never loads the network stack or libical. kestrin hands
// these options over unchanged.
#include "platform/files/DiskTextFiles.h"
#include "platform/system/SystemClock.h"
#include "sync/SyncCommands.h"

#include "calendar/ical/HolidayICalendar.h"
#include "cli/AgendaFolder.h"
#include "cli/CalDavCommand.h"
#include "cli/Command.h"
#include "cli/CommandLine.h"
#include "cli/CommandRun.h"
#include "cli/HolidaysCommand.h"
#include "cli/SyncHelper.h"
#include "platform/Clock.h"
#include "platform/files/TextFiles.h"

#include <QCoreApplication>

namespace {

// What the program hands over, done here.
class HelperTasks : public SyncHelper
{
public:
    int caldav(const CommandRun& run) override
    {
        return SyncCommands::caldav(
            run.folder.disk(), static_cast<const CalDavCommand&>(*run.options.command).asked(run.options));
    }
    int sync(const CommandRun& run) override
    {
        return SyncCommands::sync(run.folder.disk(), run.options.appDir);
    }
    int importCalendar(const CommandRun& run) override
    {
        return static_cast<const HolidaysCommand&>(*run.options.command).import(run, readHolidayICalendar);
    }
    int exportCalendar(const CommandRun& run) override { return SyncCommands::exportCalendar(run); }
};

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    // The data folder is chosen from kestrin's directory, which kestrin passes first.
    QString exeDir = QCoreApplication::applicationDirPath();
    if (arguments.size() >= 2 && arguments[0] == QStringLiteral("--exe-dir")) {
        exeDir = arguments[1];
        arguments.remove(0, 2);
    }
    // kestrin has read the same arguments already.
    const ResultOf<CommandLine> parsed = CommandLine::parse(arguments, exeDir);
    if (!parsed)
        return 2;
    const CommandLine& options = *parsed;
    if (!options.command || !options.command->needsHelper()) {
        Command::print(
            stderr, QStringLiteral("kestrin-sync: 只用于 kestrin --caldav、--sync 与 --holidays 日历文件"));
        return 2;
    }
    DiskTextFiles disk;
    const SystemClock clock;
    HelperTasks helper;
    // The sync reads the second backup folder itself, as it writes.
    AgendaFolder folder(disk, options.appDir, QString(), clock);
    return options.command->run({folder, options, QString(), helper, {}});
}
