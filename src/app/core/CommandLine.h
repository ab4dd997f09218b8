#pragma once

#include <QString>
#include <QStringList>

// What the command line asks for: the program directory, or usage.
struct CommandLine
{
    enum Action
    {
        Run,
        Help,
        Error
    };
    Action action = Run;
    QString AppDir;
    QString error;

    // arguments without the program name; exeDir is the directory of the executable.
    static CommandLine parse(const QStringList& arguments, const QString& exeDir);
    static QString usage();
};
