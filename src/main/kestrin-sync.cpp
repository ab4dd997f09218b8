// kestrin-sync: the program's --caldav and --sync, in a process of their own so that the program
// itself never loads the network stack. kestrin hands these options over unchanged.
#include "sync/SyncCommands.h"

#include "calendar/ical/HolidayICalendar.h"
#include "cli/CommandLine.h"
#include "cli/CommandTasks.h"
#include "platform/TextFiles.h"

#include <QCoreApplication>
#include <QFileInfo>

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
    DiskTextFiles disk;
    switch (options.action) {
    case CommandLine::CalDav:
        return SyncCommands::caldav(disk, options);
    case CommandLine::Sync:
        return SyncCommands::sync(disk, options);
    case CommandLine::Holidays:
        return CommandTasks::holidays(disk, options, readHolidayICalendar);
    default:
        CommandTasks::print(
            stderr, QStringLiteral("kestrin-sync: 只用于 kestrin --caldav、--sync 与 --holidays 日历文件"));
        return 2;
    }
}
