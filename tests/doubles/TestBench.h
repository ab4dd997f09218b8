#pragma once

#include "Doubles.h"
#include "FakeClock.h"
#include "platform/Services.h"

#include <QFile>
#include <QTemporaryDir>

// Every double a window needs, over a fresh temporary program directory.
struct TestBench
{
    QTemporaryDir dir;
    FakeClock clock;
    ScriptedMessageBoxes messages;
    FaultyTextFiles files;
    RecordingSound sound;
    RecordingShell shell;
    RecordingNotifications notifications;
    Services services{clock, messages, files, sound, shell, notifications, dir.path()};

    QString path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }
    void write(const char* name, const QByteArray& bytes) const
    {
        QFile f(path(name));
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
    }
    QByteArray read(const char* name) const
    {
        QFile f(path(name));
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }
};

// GBK bytes of a text written in UTF-8 source.
QByteArray gbk(const char* utf8);
// One agenda.txt record as the program writes it.
QByteArray agendaRecord(const char* text, QDate set, QDate finish);
