#include "main/DesktopServices.h"

#include "cli/CommandTasks.h"

DesktopServices::DesktopServices(const QString& appDir, const QString& elsewhere,
                                 const QStringList& soundModules)
    : backups(appDir, elsewhere), files(disk, backups, clock), sound(soundModules),
      notifications(tray), services{clock, messages, files, sound, shell, notifications, appDir}
{
    files.onProblems = CommandTasks::printBackupProblems;
    sound.onProblem = [](const QString& problem) {
        CommandTasks::print(stderr, QStringLiteral("kestrin: ") + problem);
    };
}
