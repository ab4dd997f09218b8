#include "main/DesktopServices.h"

#include "cli/CommandTasks.h"

DesktopServices::DesktopServices(TextFiles& disk, const QString& appDir, const QString& elsewhere,
                                 const QStringList& soundModules)
    : disk(disk), folder(disk, appDir, elsewhere, clock, CommandTasks::printBackupProblems),
      sound(soundModules),
      notifications(tray), services{clock, messages, folder.files(), sound, shell, notifications, appDir}
{
    sound.onProblem = [](const QString& problem) {
        CommandTasks::print(stderr, QStringLiteral("kestrin: ") + problem);
    };
}
