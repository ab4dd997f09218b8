#include "cli/CommandLine.h"

#include "cli/Command.h"
#include "cli/Commands.h"
#include "cli/DataFolder.h"
#include "platform/KestrinVersion.h"

#include <QDir>
#include <QFileInfo>
#include <functional>

namespace {

// The option an argument names, without "=VALUE".
QString optionName(const QString& argument)
{
    const qsizetype equals = argument.indexOf(u'=');
    return argument.startsWith(QStringLiteral("--")) && equals > 0 ? argument.left(equals) : argument;
}

// The values that follow arguments[i], as many as wanted, moving i past them; one given after "="
// counts among them.
QStringList valuesAt(const QStringList& arguments, qsizetype& i, Command::Values wanted,
                     const std::function<bool(const QString&)>& accepts)
{
    QStringList values;
    const QString& argument = arguments[i];
    if (optionName(argument) != argument)
        values.append(argument.mid(argument.indexOf(u'=') + 1));
    while (values.size() < wanted.required && i + 1 < arguments.size())
        values.append(arguments[++i]);
    while (values.size() >= wanted.required && values.size() < wanted.required + wanted.optional &&
           i + 1 < arguments.size() && accepts(arguments[i + 1]))
        values.append(arguments[++i]);
    return values;
}

// The option as the command that declares it gives it, and so what is said when another is given
// it. A copy: a command's options are made afresh at each ask.
std::optional<Command::Option> declared(const QString& option)
{
    for (const Command* command : Commands::all())
        for (const Command::Option& own : command->options())
            if (own.name == option)
                return own;
    return std::nullopt;
}

} // namespace

namespace {

// What the arguments name: the commands (in order, each once) and the options with their values.
struct Named
{
    QList<const Command*> commands;
    Command::Given given;
    QStringList order; // the options given, in the order given
};

// The one command asked for, with what it was given; none for the program itself.
ResultOf<std::shared_ptr<const Command>> commandOf(Named named)
{
    // A command's name that another command named takes as its option (--add's --repeat) is that.
    named.commands.removeIf([&named](const Command* command) {
        return std::any_of(named.commands.cbegin(), named.commands.cend(), [command](const Command* other) {
            const QList<Command::Option> options = other->options();
            return std::any_of(options.cbegin(), options.cend(),
                               [command](const Command::Option& o) { return o.name == command->name(); });
        });
    });
    if (named.commands.size() > 1) {
        QStringList names;
        for (const Command* command : Commands::all())
            names.append(command->name());
        return Result::failed(QStringLiteral("%1 与 %2 只能选一个")
                                  .arg(names.mid(0, names.size() - 1).join(u'、'), names.last()));
    }
    if (named.commands.isEmpty()) {
        if (!named.order.isEmpty())
            return Result::failed(declared(named.order.first())->onlyFor);
        return std::shared_ptr<const Command>();
    }
    std::unique_ptr<Command> command = Commands::make(named.commands.first()->name());
    if (const Result read = command->read(named.given); !read)
        return read;
    // Another command's options are said to be its own.
    const QList<Command::Option> own = command->options();
    for (const QString& option : std::as_const(named.order)) {
        const bool mine = option == command->name() ||
                          std::any_of(own.cbegin(), own.cend(),
                                      [&option](const Command::Option& o) { return o.name == option; });
        if (const std::optional<Command::Option> other = mine ? std::nullopt : declared(option))
            return Result::failed(other->onlyFor);
    }
    return std::shared_ptr<const Command>(std::move(command));
}

} // namespace

ResultOf<CommandLine> CommandLine::parse(const QStringList& arguments, const QString& exeDir)
{
    CommandLine result;
    result.appDir = DataFolder::choose(exeDir);
    Named named;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& arg = arguments[i];
        const QString name = optionName(arg);
        if (arg == QStringLiteral("--help") || arg == QStringLiteral("-h")) {
            result.help = true;
            return result;
        }
        if (name == QStringLiteral("--dir") || name == QStringLiteral("--backup-dir")) {
            const QStringList value = valuesAt(arguments, i, {1, 0}, {});
            if (value.isEmpty())
                return ResultOf<CommandLine>::failed(
                    name == QStringLiteral("--dir")
                        ? QStringLiteral("--dir 后面应是一个目录")
                        : QStringLiteral("--backup-dir 后面应是一个目录（空字符串表示不再异地备份）"));
            if (name == QStringLiteral("--dir"))
                result.appDir = value.first(), result.dirGiven = true;
            else
                result.backupDir = value.first().isEmpty() ? QString() : QDir(value.first()).absolutePath();
        } else if (const Command* command = Commands::named(name)) {
            named.order.append(name);
            named.given.insert(
                name, valuesAt(arguments, i, command->nameValues(),
                               [command](const QString& value) { return command->acceptsOptional(value); }));
            if (!named.commands.contains(command))
                named.commands.append(command);
        } else if (const std::optional<Command::Option> option = declared(name)) {
            const QStringList values = valuesAt(arguments, i, {option->values, 0}, {});
            if (values.size() < option->values)
                return ResultOf<CommandLine>::failed(option->missing);
            named.order.append(name);
            named.given.insert(name, values);
        } else {
            return ResultOf<CommandLine>::failed(QStringLiteral("未知的选项：") + arg);
        }
    }
    ResultOf<std::shared_ptr<const Command>> command = commandOf(std::move(named));
    if (!command)
        return command.result();
    result.command = std::move(*command);
    if (result.dirGiven && !QFileInfo(result.appDir).isDir())
        return ResultOf<CommandLine>::failed(QStringLiteral("不是一个目录：") + result.appDir);
    result.appDir = QDir(result.appDir).absolutePath();
    return result;
}

bool CommandLine::runs(QStringView name) const
{
    return command && command->name() == name;
}

QString CommandLine::usage(const QString& dataDir)
{
    QString lines = QStringLiteral("用法：kestrin [--dir DIR] [--backup-dir DIR2]\n");
    QString options =
        QStringLiteral("  --dir DIR          "
                       "agenda.txt、repeat.txt、structure.txt、my.log、三个声音文件、\n"
                       "                     kestrin.ini 与 backup/ 所在的目录\n"
                       "                     （默认：程序所在的目录）\n"
                       "  --backup-dir DIR2  备份另存一份到 DIR2（如同步文件夹或移动硬盘），并记住此目录；\n"
                       "                     --backup-dir \"\" 则不再异地备份\n");
    for (const Command* command : Commands::all()) {
        lines += QStringLiteral("      kestrin %1 [--dir DIR]\n").arg(command->usage());
        options += command->help();
    }
    return lines + u'\n' + options +
           QStringLiteral("  --help             显示本说明\n"
                          "\n"
                          "版本：" KESTRIN_VERSION "\n"
                          "数据目录：") +
           QDir::toNativeSeparators(dataDir);
}
