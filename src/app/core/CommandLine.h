#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

#include <optional>

// What the command line asks for: the program directory, usage, or a task on the backups.
struct CommandLine
{
    enum Action
    {
        Run,
        Help,
        Error,
        ListBackups, // --backups
        Restore,     // --restore DATE
    };
    Action action = Run;
    QString AppDir;
    QString error;
    // --backup-dir: a second folder for the backups, remembered from then on; empty forgets it.
    std::optional<QString> backupDir;
    QDate restoreDate;

    // arguments without the program name; exeDir is the directory of the executable.
    static CommandLine parse(const QStringList& arguments, const QString& exeDir);
    static QString usage();
};
