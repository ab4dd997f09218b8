#include "cli/CommandLine.h"

#include "calendar/core/RepeatWords.h"
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
    auto setAction = [&result](Action action) {
        if (result.action != Run && result.action != action)
            return false;
        result.action = action;
        return true;
    };
    const QString oneTask =
        QStringLiteral("--backups、--restore、--list、--log、--add、--quick-add、--autostart、--"
                       "caldav、--sync、--holidays 与 --remind "
                       "只能选一个");
    bool finishGiven = false, setGiven = false, overdueGiven = false, userGiven = false;
    QStringList repeatValues; // one for --add's, two for --repeat TEXT KIND
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& arg = arguments[i];
        if (arg == QStringLiteral("--help") || arg == QStringLiteral("-h")) {
            result.action = Help;
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
            if (!setAction(Restore))
                return fail(oneTask);
        } else if (const auto text = valueOf(QStringLiteral("--add"), arguments, i, missing)) {
            if (missing)
                return fail(QStringLiteral("--add 后面应是日程内容"));
            if (!setAction(Add))
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
            if (!setAction(Done))
                return fail(oneTask);
            result.itemText = *done;
        } else if (arg == QStringLiteral("--autostart")) {
            if (!setAction(Autostart))
                return fail(oneTask);
            if (i + 1 < arguments.size() &&
                (arguments[i + 1] == QStringLiteral("on") || arguments[i + 1] == QStringLiteral("off")))
                result.autostart = arguments[++i] == QStringLiteral("on");
        } else if (arg == QStringLiteral("--caldav")) {
            if (!setAction(CalDav))
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
            const QTime at = QTime::fromString(*remind, QStringLiteral("H:mm"));
            if (missing || (!at.isValid() && *remind != QStringLiteral("off")))
                return fail(QStringLiteral("--remind 后面应是每天提醒的时间（如 08:30）或 off"));
            if (!setAction(Remind))
                return fail(oneTask);
            result.remindAt = at.isValid() ? std::optional<QTime>(at) : std::nullopt;
        } else if (arg == QStringLiteral("--quick-add")) {
            if (!setAction(QuickAdd))
                return fail(oneTask);
        } else if (arg == QStringLiteral("--holidays")) {
            if (!setAction(Holidays))
                return fail(oneTask);
            if (i + 1 < arguments.size() && !arguments[i + 1].startsWith(QStringLiteral("--")))
                result.holidaysFile = QFileInfo(arguments[++i]).absoluteFilePath();
        } else if (arg == QStringLiteral("--sync")) {
            if (!setAction(Sync))
                return fail(oneTask);
        } else if (arg == QStringLiteral("--backups") || arg == QStringLiteral("--list")) {
            if (!setAction(arg == QStringLiteral("--list") ? List : ListBackups))
                return fail(oneTask);
        } else if (arg == QStringLiteral("--log")) {
            if (!setAction(Log))
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
        if (result.action == Add && repeatValues.size() != 1)
            return fail(QStringLiteral("--add 的 --repeat 后面只是一个重复方式"));
        if (result.action != Add) {
            if (repeatValues.size() != 2)
                return fail(QStringLiteral("--repeat 后面应是日程内容与重复方式，如 --repeat 交房租 每月"));
            if (!setAction(Repeat))
                return fail(oneTask);
            result.itemText = repeatValues.first();
        }
        result.repeatWords = repeatValues.last();
        words = RepeatWords::parse(result.repeatWords);
        if (!words)
            return fail(words.error());
    }
    // A repetition says the finish date too: its first day from today.
    if (result.action == Add && !finishGiven && words->kind == RepeatRule::None)
        return fail(QStringLiteral("--add 需要 --finish 完成日期"));
    if ((finishGiven || setGiven) && result.action != Add)
        return fail(QStringLiteral("--finish 与 --set 只用于 --add"));
    if (userGiven && result.caldavUrl.isEmpty())
        return fail(QStringLiteral("--user 与 --tasklist 只用于 --caldav URL"));
    if (overdueGiven && result.action != List)
        return fail(QStringLiteral("--overdue 只用于 --list"));
    if (!result.findWords.isEmpty() && result.action != List && result.action != Log)
        return fail(QStringLiteral("--find 只用于 --list 与 --log"));
    if (result.dirGiven && !QFileInfo(result.appDir).isDir())
        return fail(QStringLiteral("不是一个目录：") + result.appDir);
    result.appDir = QDir(result.appDir).absolutePath();
    return result;
}

QString CommandLine::usage(const QString& dataDir)
{
    return QStringLiteral(
               "用法：kestrin [--dir DIR] [--backup-dir DIR2]\n"
               "      kestrin --backups [--dir DIR]\n"
               "      kestrin --restore YYYY-MM-DD [--dir DIR]\n"
               "      kestrin --list [--overdue] [--find 字词] [--dir DIR]\n"
               "      kestrin --log [--find 字词] [--dir DIR]\n"
               "      kestrin --add 内容 --finish YYYY-MM-DD [--set YYYY-MM-DD] [--repeat 方式] [--dir DIR]\n"
               "      kestrin --repeat 内容 方式 [--dir DIR]\n"
               "      kestrin --done 内容 [--dir DIR]\n"
               "      kestrin --autostart [on|off] [--dir DIR]\n"
               "      kestrin --caldav [URL [--user 用户名] [--tasklist 名称] | off] [--dir DIR]\n"
               "      kestrin --sync [--dir DIR]\n"
               "      kestrin --holidays [文件] [--dir DIR]\n"
               "      kestrin --remind HH:MM|off [--dir DIR]\n"
               "      kestrin --quick-add [--dir DIR]\n"
               "\n"
               "  --dir DIR          agenda.txt、repeat.txt、my.log、三个声音文件、kestrin.ini 与 backup/\n"
               "                     所在的目录\n"
               "                     （默认：程序所在的目录）\n"
               "  --backup-dir DIR2  备份另存一份到 DIR2（如同步文件夹或移动硬盘），并记住此目录；\n"
               "                     --backup-dir \"\" 则不再异地备份\n"
               "  --backups          列出可以恢复的日期\n"
               "  --restore 日期     恢复到该日结束时的 agenda.txt、repeat.txt 与 my.log；现有文件先存为\n"
               "                     同名的 .before-restore 文件\n"
               "  --list             列出日程（文件顺序，UTF-8）：完成日期<TAB>剩余天数<TAB>内容，重复的\n"
               "                     日程再加<TAB>重复方式；\n"
               "                     --overdue 只列逾期的日程\n"
               "  --log              列出日志（UTF-8）：设置日期<TAB>完成日期<TAB>删除日期<TAB>内容\n"
               "  --find 字词        与 --list、--log 同用：只列找到的，按字词（空格分开，都要有）、\n"
               "                     拼音（xiezhoubao）或首字母（xzb）；日志也按日期（2026-12、12月）。\n"
               "                     一条也没有时退出码为 1\n"
               "  --add 内容         添加日程，规则与“添加日程”相同；设置日期默认为今天。日期也可以\n"
               "                     写成明天、下周五、3天后、12月20日、国庆等\n"
               "                     程序正在运行时由它写入。拒绝时退出码为 1，用法错误为 2\n"
               "  --repeat 方式      与 --add 同用：重复的日程。方式为每天、每周、工作日、法定工作日、\n"
               "                     每月、每年、农历每年（按完成日期），或每周五、每月15号、每月月底、\n"
               "                     每年12月20日、每年农历八月十五；可不写 --finish，完成日期即今天起\n"
               "                     的第一次\n"
               "  --repeat 内容 方式 设置已有日程的重复方式；off 为不重复\n"
               "  --done 内容        完成日程，如同“删除日程”：记入日志；重复的日程移到下一次\n"
               "  --autostart on|off 登录时自动启动本程序（或不再自动启动）；不带 on/off 则显示现状\n"
               "  --caldav URL       与 URL 处的 CalDAV 任务列表同步日程（列表不存在时新建）；\n"
               "                     URL 也可以是服务器的地址，程序自己找到任务列表，有几个时\n"
               "                     用 --tasklist 名称 选择；服务器要密码时从标准输入读取，\n"
               "                     存入桌面的密钥存储\n"
               "  --caldav off       断开任务列表，两边的日程都不删除；不带参数则显示现状\n"
               "  --sync             立即同步，显示上传、下载、完成与冲突的条数\n"
               "  --holidays 文件    导入法定节假日安排：节假日日历（iCalendar，事件名以“休”或\n"
               "                     “班”结尾），或本程序的文本格式（每行“2027-01-01 休 元旦”）；\n"
               "                     同一年份以新导入的为准。不带文件则列出已收录的年份\n"
               "  --quick-add        打开“快速添加日程”小窗口（可绑定到快捷键）：输入内容与完成日期\n"
               "                     （明天、周五、12月20日等），回车添加，Esc 关闭\n"
               "  --remind HH:MM     每天这个时间，有今天、明天到期或逾期的日程时发一条桌面通知；\n"
               "                     --remind off 不再提醒（默认不提醒）\n"
               "  --help             显示本说明\n"
               "\n"
               "版本：" KESTRIN_VERSION "\n"
               "数据目录：") +
           QDir::toNativeSeparators(dataDir);
}
