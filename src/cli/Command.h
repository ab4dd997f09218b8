#pragma once

#include "platform/Result.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTime>

#include <cstdio>
#include <optional>

struct CommandLine;
struct CommandRun;

// One of the command line's tasks: the option that names it, its line in the usage, its paragraph
// in --help, the options it takes and what it does. Each prints what it did (UTF-8) and returns the
// exit code, 0 done, 1 refused or failed. One is made afresh for each command line it reads.
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

    // The values that follow an option on the command line: required ones are taken whatever they
    // are; optional ones only when they are no option (and, where a command says, one it accepts).
    struct Values
    {
        int required = 0;
        int optional = 0;
    };
    // An option beside the name: "--finish" with its value.
    struct Option
    {
        QString name;
        int values = 1;  // 0 for a flag
        QString onlyFor; // said when another command is given it: "--overdue 只用于 --list"
        QString missing; // said when its value is missing: "--finish 后面应是完成日期"
    };
    // What was given: each option's values (the last time it was given), the name's among them.
    using Given = QHash<QString, QStringList>;

    virtual Values nameValues() const { return {}; }
    // Whether value may be the name's optional value.
    virtual bool acceptsOptional(const QString& value) const
    {
        return !value.startsWith(QStringLiteral("--"));
    }
    virtual QList<Option> options() const { return {}; }
    // Reads and checks what it was given, from the name's values and its options'.
    virtual Result read(const Given&) { return Result::done(); }

    // Whether only the sync helper runs it, which alone loads the network and libical.
    virtual bool needsHelper() const { return false; }
    // Whether it opens a window, and so makes its own application.
    virtual bool opensWindow() const { return false; }
    virtual int run(const CommandRun& run) const = 0;

    // By its length, not as a C string: a NUL in a hand-edited file must not end the output.
    static void write(std::FILE* to, const QString& text);
    // A line: the text and a line end.
    static void print(std::FILE* to, const QString& text);
    // A backup's problems, a line each; a backup never stops the change it comes before.
    static void printBackupProblems(const QStringList& problems);
    // A time of day typed as an option's value (15:00, 下午3点), or nothing for off; a value that
    // is no time is refused with usage, or with why when its words say a time that cannot be.
    static ResultOf<std::optional<QTime>> timeOrOff(const QString& value, const QString& usage);
    // The answer on standard output and exit 0, or the reason on standard error and exit 1.
    static int printed(const ResultOf<QString>& outcome);

private:
    QString m_name, m_usage, m_help;
};
