#pragma once

#include "backup/core/FolderFiles.h"
#include "platform/Clock.h"
#include "platform/Services.h"
#include "platform/files/TextFiles.h"
#include "platform/qt/QtMessageBoxes.h"
#include "platform/qt/QtNotifications.h"
#include "platform/qt/QtShell.h"
#include "platform/qt/QtTrayIcon.h"
#include "platform/system/LateSoundDevice.h"
#include "platform/system/SystemClock.h"

// The services of the program on a desktop: the system's clock, Qt's boxes, tray and
// notifications, the sound module opened late, and the data files backed up before the day's
// first change.
struct DesktopServices
{
    // soundModules: where the sound module may be, in the order tried.
    DesktopServices(TextFiles& disk, const QString& appDir, const QString& elsewhere,
                    const QStringList& soundModules);

    TextFiles& disk;
    SystemClock clock;
    QtMessageBoxes messages;
    FolderFiles folder;
    LateSoundDevice sound;
    QtShell shell;
    QtTrayIcon tray;
    QtNotifications notifications;
    const Services services;
};
