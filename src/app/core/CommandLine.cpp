#include "CommandLine.h"

#include <QDir>
#include <QFileInfo>

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

CommandLine CommandLine::parse(const QStringList& arguments, const QString& exeDir)
{
    CommandLine result;
    result.AppDir = exeDir;
    auto fail = [&result](const QString& why) {
        result.action = Error;
        result.error = why;
        return result;
    };
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
            result.AppDir = *dir;
        } else if (const auto backupDir = valueOf(QStringLiteral("--backup-dir"), arguments, i, missing)) {
            if (missing)
                return fail(QStringLiteral("--backup-dir 后面应是一个目录（空字符串表示不再异地备份）"));
            result.backupDir = backupDir->isEmpty() ? QString() : QDir(*backupDir).absolutePath();
        } else if (const auto date = valueOf(QStringLiteral("--restore"), arguments, i, missing)) {
            result.restoreDate = QDate::fromString(*date, QStringLiteral("yyyy-MM-dd"));
            if (missing || !result.restoreDate.isValid() || date->size() != 10)
                return fail(QStringLiteral("--restore 后面应是一个日期，如 2026-12-06"));
            if (result.action != Run)
                return fail(QStringLiteral("--backups 与 --restore 只能选一个"));
            result.action = Restore;
        } else if (arg == QStringLiteral("--backups")) {
            if (result.action != Run)
                return fail(QStringLiteral("--backups 与 --restore 只能选一个"));
            result.action = ListBackups;
        } else {
            return fail(QStringLiteral("未知的选项：") + arg);
        }
    }
    if (!QFileInfo(result.AppDir).isDir())
        return fail(QStringLiteral("不是一个目录：") + result.AppDir);
    result.AppDir = QDir(result.AppDir).absolutePath();
    return result;
}

QString CommandLine::usage()
{
    return QStringLiteral(
        "用法：kestrin [--dir DIR] [--backup-dir DIR2]\n"
        "      kestrin --backups [--dir DIR]\n"
        "      kestrin --restore YYYY-MM-DD [--dir DIR]\n"
        "\n"
        "  --dir DIR          agenda.txt、my.log、三个声音文件、kestrin.ini 与 backup/ 所在的目录\n"
        "                     （默认：程序所在的目录）\n"
        "  --backup-dir DIR2  备份另存一份到 DIR2（如同步文件夹或移动硬盘），并记住此目录；\n"
        "                     --backup-dir \"\" 则不再异地备份\n"
        "  --backups          列出可以恢复的日期\n"
        "  --restore 日期     恢复到该日结束时的 agenda.txt 与 my.log；现有文件先存为\n"
        "                     agenda.txt.before-restore 与 my.log.before-restore\n"
        "  --help             显示本说明");
}
