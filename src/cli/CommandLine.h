#pragma once

#include "platform/Result.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QTime>

#include <optional>

// What the command line asks for: the program with its data folder, the usage, or a command with
// what it was given.
class Command;

struct CommandLine
{
    // Nothing: the program itself, with its window and tray.
    const Command* command = nullptr;
    bool help = false; // --help: the usage and nothing else
    QString appDir;
    bool dirGiven = false; // --dir was given, rather than the default
    // --backup-dir: a second folder for the backups, remembered from then on; empty forgets it.
    std::optional<QString> backupDir;
    QDate restoreDate;
    QDate monthShown; // --month's, its first day; invalid for this month
    bool overdueOnly = false;
    QString findWords;                  // --find: only the lines that match
    QString addText, addSet, addFinish; // as typed: the add checks them as the entry box does
    QString repeatWords;                // --repeat's kind as typed, for --add and --repeat
    QString itemText;                   // the item --repeat, --done and --time are for
    QTime itemTime;                     // --time's, invalid for off
    std::optional<bool> autostart;      // nothing: only say whether it is on
    QString caldavUrl;                  // empty: only say which server, unless caldavOff
    QString caldavUser;
    QString caldavList; // --tasklist: which of the server's task lists
    bool caldavOff = false;
    QString holidaysFile;          // empty: only list the years known
    std::optional<QTime> remindAt; // nothing: --remind off

    // arguments without the program name; exeDir is the directory of the executable. Fails with
    // what is wrong with them.
    static ResultOf<CommandLine> parse(const QStringList& arguments, const QString& exeDir);
    // The usage, ending with the data folder in use.
    static QString usage(const QString& dataDir);
    // Whether it runs the command of that name.
    bool runs(QStringView name) const;
};
