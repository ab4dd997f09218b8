#pragma once

#include "platform/Clock.h"
#include "platform/MessageBoxes.h"
#include "platform/Notifications.h"
#include "platform/Shell.h"
#include "platform/SoundDevice.h"
#include "platform/Sounds.h"
#include "platform/files/TextFiles.h"

#include <QDir>
#include <QString>

// The platform as the windows see it, handed to each of them: real in the program, doubles in tests.
struct Services
{
    Clock& clock;
    MessageBoxes& messages;
    TextFiles& files;
    SoundDevice& sound;
    Shell& shell;
    Notifications& notifications;
    QString appDir; // where agenda.txt, my.log and the three sounds live

    QString path(const char* fileName) const { return QDir(appDir).filePath(QString::fromUtf8(fileName)); }
    QString path(Sound s) const { return path(Sounds::fileName(s)); }
    // The one sound player: a new sound cuts off the one playing, and nothing is ever reported.
    void play(Sound s) const { sound.play(path(s)); }
};
