#pragma once

#include "platform/Result.h"

#include <QString>

#include <cstdio>

struct CommandLine;
struct CommandRun;

// One of the command line's tasks: the option that names it, its line in the usage, its paragraph
// in --help, and what it does. Each prints what it did (UTF-8) and returns the exit code, 0 done,
// 1 refused or failed.
class Command
{
public:
    // name: the option that names it ("--list"); usage: its line in the usage after "kestrin ",
    // without the --dir every command takes; help: its paragraph in --help's list of options.
    Command(const QString& name, const QString& usage, const QString& help)
        : m_name(name), m_usage(usage), m_help(help)
    {
    }
    virtual ~Command() = default;
    QString name() const { return m_name; }
    QString usage() const { return m_usage; }
    QString help() const { return m_help; }
    // Whether only the sync helper runs it, which alone loads the network and libical.
    virtual bool needsHelper(const CommandLine&) const { return false; }
    // Whether it opens a window, and so makes its own application.
    virtual bool opensWindow() const { return false; }
    virtual int run(const CommandRun& run) const = 0;

    // By its length, not as a C string: a NUL in a hand-edited file must not end the output.
    static void write(std::FILE* to, const QString& text);
    // A line: the text and a line end.
    static void print(std::FILE* to, const QString& text);
    // A backup's problems, a line each; a backup never stops the change it comes before.
    static void printBackupProblems(const Result& backup);
    // The answer on standard output and exit 0, or the reason on standard error and exit 1.
    static int printed(const ResultOf<QString>& outcome);

private:
    QString m_name, m_usage, m_help;
};
