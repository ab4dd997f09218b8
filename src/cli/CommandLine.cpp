#include "cli/CommandLine.h"

#include "calendar/core/RepeatWords.h"
#include "calendar/core/TimeWords.h"
#include "cli/Command.h"
#include "cli/Commands.h"
#include "cli/DataFolder.h"
#include "platform/KestrinVersion.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace {

// "--name VALUE" or "--name=VALUE" at i; nullopt when arguments[i] is another option.
std::optional<QString> valueOf(const QString& name, const QStringList& arguments, qsizetype& i, bool& missing)
{
    const QString& arg = arguments[i];
    if (arg == name) {
        if (i + 1 >= arguments.size()) {
            missing = true;
            return QString();
        }
        return arguments[++i];
    }
    if (arg.startsWith(name + u'='))
        return arg.mid(name.size() + 1);
    return std::nullopt;
}

} // namespace

ResultOf<CommandLine> CommandLine::parse(const QStringList& arguments, const QString& exeDir)
{
    CommandLine result;
    result.appDir = DataFolder::choose(exeDir);
    auto fail = [](const QString& why) { return ResultOf<CommandLine>::failed(why); };
    // One command a run: a second one named is refused.
    auto take = [&result](QStringView name) {
        const Command* command = Commands::named(name);
        if (result.command && result.command != command)
            return false;
        result.command = command;
        return true;
    };
    QStringList names;
    for (const Command* command : Commands::all())
        names.append(command->name());
    const QString oneTask =
        QStringLiteral("%1 与 %2 只能选一个").arg(names.mid(0, names.size() - 1).join(u'、'), names.last());
    bool finishGiven = false, setGiven = false, overdueGiven = false, userGiven = false;
    QStringList repeatValues; // one for --add's, two for --repeat TEXT KIND
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& arg = arguments[i];
        if (arg == QStringLiteral("--help") || arg == QStringLiteral("-h")) {
            result.help = true;
            return result;
        }
        bool missing = false;
        if (const auto dir = valueOf(QStringLiteral("--dir"), arguments, i, missing)) {
            if (missing)
                return fail(QStringLiteral("--dir 后面应是一个目录"));
            result.appDir = *dir;
            result.dirGiven = true;
        } else if (const auto backupDir = valueOf(QStringLiteral("--backup-dir"), arguments, i, missing)) {
            if (missing)
                return fail(QStringLiteral("--backup-dir 后面应是一个目录（空字符串表示不再异地备份）"));
            result.backupDir = backupDir->isEmpty() ? QString() : QDir(*backupDir).absolutePath();
        } else if (const auto date = valueOf(QStringLiteral("--restore"), arguments, i, missing)) {
            result.restoreDate = QDate::fromString(*date, QStringLiteral("yyyy-MM-dd"));
            if (missing || !result.restoreDate.isValid() || date->size() != 10)
                return fail(QStringLiteral("--restore 后面应是一个日期，如 2026-12-06"));
            if (!take(u"--restore"))
                return fail(oneTask);
        } else if (const auto text = valueOf(QStringLiteral("--add"), arguments, i, missing)) {
            if (missing)
                return fail(QStringLiteral("--add 后面应是日程内容"));
            if (!take(u"--add"))
                return fail(oneTask);
            result.addText = *text;
        } else if (const auto finish = valueOf(QStringLiteral("--finish"), arguments, i, missing)) {
            if (missing)
                return fail(QStringLiteral("--finish 后面应是完成日期"));
            result.addFinish = *finish;
            finishGiven = true;
        } else if (const auto set = valueOf(QStringLiteral("--set"), arguments, i, missing)) {
            if (missing)
                return fail(QStringLiteral("--set 后面应是设置日期"));
            result.addSet = *set;
            setGiven = true;
        } else if (const auto first = valueOf(QStringLiteral("--repeat"), arguments, i, missing)) {
            if (missing)
                return fail(QStringLiteral("--repeat 后面应是重复方式，或日程内容与重复方式"));
            repeatValues = {*first};
            if (i + 1 < arguments.size() && !arguments[i + 1].startsWith(QStringLiteral("--")))
                repeatValues.append(arguments[++i]);
        } else if (const auto done = valueOf(QStringLiteral("--done"), arguments, i, missing)) {
            if (missing)
                return fail(QStringLiteral("--done 后面应是日程内容"));
            if (!take(u"--done"))
                return fail(oneTask);
            result.itemText = *done;
        } else if (const auto timed = valueOf(QStringLiteral("--time"), arguments, i, missing)) {
            const QString usage =
                QStringLiteral("--time 后面应是日程内容与提醒时间（如 15:00、下午3点）或 off");
            if (missing || i + 1 >= arguments.size())
                return fail(usage);
            if (!take(u"--time"))
                return fail(oneTask);
            result.itemText = *timed;
            const QString when = arguments[++i];
            if (when != QStringLiteral("off")) {
                const ResultOf<QTime> time = TimeWords::timeOfDay(when);
                if (!time)
                    return fail(TimeWords::split(when) ? usage : time.error());
                result.itemTime = *time;
            }
        } else if (arg == QStringLiteral("--month")) {
            if (!take(u"--month"))
                return fail(oneTask);
            if (i + 1 < arguments.size() && !arguments[i + 1].startsWith(QStringLiteral("--"))) {
                const QString value = arguments[++i];
                result.monthShown =
                    QDate::fromString(value + QStringLiteral("-01"), QStringLiteral("yyyy-M-dd"));
                if (!result.monthShown.isValid() || result.monthShown.year() < 1901 ||
                    result.monthShown.year() > 2099)
                    return fail(QStringLiteral("--month 后面应是年与月，如 2027-02"));
            }
        } else if (arg == QStringLiteral("--autostart")) {
            if (!take(u"--autostart"))
                return fail(oneTask);
            if (i + 1 < arguments.size() &&
                (arguments[i + 1] == QStringLiteral("on") || arguments[i + 1] == QStringLiteral("off")))
                result.autostart = arguments[++i] == QStringLiteral("on");
        } else if (arg == QStringLiteral("--caldav")) {
            if (!take(u"--caldav"))
                return fail(oneTask);
            if (i + 1 < arguments.size() && !arguments[i + 1].startsWith(QStringLiteral("--"))) {
                const QString value = arguments[++i];
                if (value == QStringLiteral("off")) {
                    result.caldavOff = true;
                } else {
                    const QUrl url(value, QUrl::StrictMode);
                    if (!url.isValid() || url.host().isEmpty() ||
                        (url.scheme() != QStringLiteral("https") && url.scheme() != QStringLiteral("http")))
                        return fail(QStringLiteral(
                            "--caldav 后面应是任务列表的地址，如 https://example.org/dav/tasks/"));
                    result.caldavUrl = value;
                }
            }
        } else if (const auto user = valueOf(QStringLiteral("--user"), arguments, i, missing)) {
            if (missing || user->isEmpty())
                return fail(QStringLiteral("--user 后面应是用户名"));
            result.caldavUser = *user;
            userGiven = true;
        } else if (const auto list = valueOf(QStringLiteral("--tasklist"), arguments, i, missing)) {
            if (missing || list->isEmpty())
                return fail(QStringLiteral("--tasklist 后面应是任务列表的名称"));
            result.caldavList = *list;
            userGiven = true;
        } else if (const auto remind = valueOf(QStringLiteral("--remind"), arguments, i, missing)) {
            const ResultOf<QTime> read = missing ? ResultOf<QTime>(QTime()) : TimeWords::timeOfDay(*remind);
            const QTime at = read ? *read : QTime();
            if (missing || (!at.isValid() && *remind != QStringLiteral("off")))
                return fail(QStringLiteral("--remind 后面应是每天提醒的时间（如 08:30）或 off"));
            if (!take(u"--remind"))
                return fail(oneTask);
            result.remindAt = at.isValid() ? std::optional<QTime>(at) : std::nullopt;
        } else if (arg == QStringLiteral("--calendar")) {
            if (!take(u"--calendar"))
                return fail(oneTask);
        } else if (arg == QStringLiteral("--quick-add")) {
            if (!take(u"--quick-add"))
                return fail(oneTask);
        } else if (arg == QStringLiteral("--holidays")) {
            if (!take(u"--holidays"))
                return fail(oneTask);
            if (i + 1 < arguments.size() && !arguments[i + 1].startsWith(QStringLiteral("--")))
                result.holidaysFile = QFileInfo(arguments[++i]).absoluteFilePath();
        } else if (arg == QStringLiteral("--sync")) {
            if (!take(u"--sync"))
                return fail(oneTask);
        } else if (arg == QStringLiteral("--backups") || arg == QStringLiteral("--list")) {
            if (!take(arg))
                return fail(oneTask);
        } else if (arg == QStringLiteral("--log")) {
            if (!take(u"--log"))
                return fail(oneTask);
        } else if (const auto find = valueOf(QStringLiteral("--find"), arguments, i, missing)) {
            if (missing || find->trimmed().isEmpty())
                return fail(QStringLiteral("--find 后面应是要找的字词或拼音"));
            result.findWords = *find;
        } else if (arg == QStringLiteral("--overdue")) {
            result.overdueOnly = overdueGiven = true;
        } else {
            return fail(QStringLiteral("未知的选项：") + arg);
        }
    }
    ResultOf<RepeatWords> words = RepeatWords{};
    if (!repeatValues.isEmpty()) {
        if (result.runs(u"--add") && repeatValues.size() != 1)
            return fail(QStringLiteral("--add 的 --repeat 后面只是一个重复方式"));
        if (!result.runs(u"--add")) {
            if (repeatValues.size() != 2)
                return fail(QStringLiteral("--repeat 后面应是日程内容与重复方式，如 --repeat 交房租 每月"));
            if (!take(u"--repeat"))
                return fail(oneTask);
            result.itemText = repeatValues.first();
        }
        result.repeatWords = repeatValues.last();
        // An added item's repetition may say its time (每周五下午5点); the add reads it again.
        const ResultOf<TimeWords::Said> said = TimeWords::split(result.repeatWords);
        if (!said)
            return fail(said.error());
        if (said->time.isValid() && !result.runs(u"--add"))
            return fail(QStringLiteral("--repeat 的重复方式不带时间；提醒时间用 --time 内容 时间"));
        words = RepeatWords::parse(said->day);
        if (!words)
            return fail(words.error());
    }
    // A repetition says the finish date too: its first day from today.
    if (result.runs(u"--add") && !finishGiven && words->kind == RepeatRule::None)
        return fail(QStringLiteral("--add 需要 --finish 完成日期"));
    if ((finishGiven || setGiven) && !result.runs(u"--add"))
        return fail(QStringLiteral("--finish 与 --set 只用于 --add"));
    if (userGiven && result.caldavUrl.isEmpty())
        return fail(QStringLiteral("--user 与 --tasklist 只用于 --caldav URL"));
    if (overdueGiven && !result.runs(u"--list"))
        return fail(QStringLiteral("--overdue 只用于 --list"));
    if (!result.findWords.isEmpty() && !result.runs(u"--list") && !result.runs(u"--log"))
        return fail(QStringLiteral("--find 只用于 --list 与 --log"));
    if (result.dirGiven && !QFileInfo(result.appDir).isDir())
        return fail(QStringLiteral("不是一个目录：") + result.appDir);
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
    QString options = QStringLiteral(
        "  --dir DIR          agenda.txt、repeat.txt、my.log、三个声音文件、kestrin.ini 与 backup/\n"
        "                     所在的目录\n"
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
