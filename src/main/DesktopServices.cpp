#include "main/DesktopServices.h"

#include "cli/Command.h"

DesktopServices::DesktopServices(TextFiles& disk, const QString& appDir, const QString& elsewhere,
                                 const QStringList& soundModules)
    : disk(disk), folder(disk, appDir, elsewhere, clock, Command::printBackupProblems), sound(soundModules),
      notifications(tray), services{clock, messages, folder.files(), sound, shell, notifications, appDir}
{
    sound.onProblem = [](const QString& problem) {
        Command::print(stderr, QStringLiteral("kestrin: ") + problem);
    };
}
