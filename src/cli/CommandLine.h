#pragma once

#include "platform/Result.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class Command;

// What the command line asks for: the program with its data folder, the usage, or a command with
// what it was given.
struct CommandLine
{
    // Nothing: the program itself, with its window and tray. The command holds its own options.
    std::shared_ptr<const Command> command;
    bool help = false; // --help: the usage and nothing else
    QString appDir;
    bool dirGiven = false; // --dir was given, rather than the default
    // --backup-dir: a second folder for the backups, remembered from then on; empty forgets it.
    std::optional<QString> backupDir;

    // arguments without the program name; exeDir is the directory of the executable. Fails with
    // what is wrong with them.
    static ResultOf<CommandLine> parse(const QStringList& arguments, const QString& exeDir);
    // The usage, ending with the data folder in use.
    static QString usage(const QString& dataDir);
    // Whether it runs the command of that name.
    bool runs(QStringView name) const;
};
