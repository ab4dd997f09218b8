#include "agenda/MonthWindow.h"
#include "agenda/core/AgendaSession.h"
#include "backup/core/Backups.h"
#include "cli/AddCommand.h"
#include "cli/AgendaFolder.h"
#include "cli/Command.h"
#include "cli/CommandLine.h"
#include "cli/CommandRun.h"
#include "cli/DataFolder.h"
#include "cli/SyncHelper.h"
#include "main/DesktopServices.h"
#include "main/Program.h"
#include "platform/Clock.h"
#include "platform/files/DiskTextFiles.h"
#include "platform/instance/SingleInstance.h"
#include "platform/qt/QtMessageBoxes.h"
#include "platform/qt/QtTranslations.h"
#include "platform/qt/UnixSignals.h"
#include "platform/system/SystemClock.h"
#include "quickadd/QuickAddWindow.h"
#include "sync/schedule/ProcessSyncRunner.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <functional>
#include <malloc.h>
#include <optional>
#include <unistd.h>
#include <vector>

namespace {

void print(std::FILE* to, const QString& text)
{
    Command::print(to, text);
}

// The second backup folder: the one given now, remembered for later runs, or the one remembered;
// nothing when the one given could not be remembered, and the reason is printed.
std::optional<QString> backupElsewhere(const CommandLine& options)
{
    if (options.backupDir) {
        if (const Result kept = Backups::remember(options.appDir, *options.backupDir); !kept) {
            print(stderr, QStringLiteral("kestrin: %1，异地备份目录未记住。").arg(kept.error()));
            return std::nullopt;
        }
    }
    return Backups::rememberedElsewhere(options.appDir);
}

// Qt aborts with a core dump when its platform finds no display to open: tell the user instead.
bool displayAvailable()
{
    // offscreen, vnc and the like need none.
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (!platform.isEmpty() && !platform.startsWith("xcb") && !platform.startsWith("wayland"))
        return true;
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

// kestrin-sync, which alone of the program's parts loads the network stack: beside the program
// in a build, in its library folder once installed. Empty when it is not there.
QString syncHelper(const QString& exeDir)
{
    for (const QString& dir : {exeDir, QDir(exeDir).filePath(QStringLiteral(KESTRIN_LIB_DIR))}) {
        const QString helper = QDir(dir).filePath(QStringLiteral("kestrin-sync"));
        if (QFileInfo(helper).isExecutable())
            return QDir::cleanPath(helper);
    }
    return {};
}

// --caldav, --sync and --holidays with a calendar: the program becomes the helper, with the same
// arguments and the directory the data folder is chosen from.
class HandOver : public SyncHelper
{
public:
    HandOver(const QString& exeDir, int argc, char* argv[]) : m_exeDir(exeDir), m_argc(argc), m_argv(argv) {}
    int caldav(const CommandRun&) override { return exec(); }
    int sync(const CommandRun&) override { return exec(); }
    int importCalendar(const CommandRun&) override { return exec(); }
    int exportCalendar(const CommandRun&) override { return exec(); }

private:
    int exec()
    {
        const QString helperPath = syncHelper(m_exeDir);
        if (helperPath.isEmpty()) {
            print(stderr, QStringLiteral("kestrin: 找不到 kestrin-sync，同步功能没有安装。"));
            return 1;
        }
        const QByteArray helper = QFile::encodeName(helperPath);
        const QByteArray dirArgument = QFile::encodeName(m_exeDir);
        std::vector<char*> arguments{const_cast<char*>(helper.constData()), const_cast<char*>("--exe-dir"),
                                     const_cast<char*>(dirArgument.constData())};
        arguments.insert(arguments.end(), m_argv + 1, m_argv + m_argc);
        arguments.push_back(nullptr);
        execv(helper.constData(), arguments.data());
        print(stderr, QStringLiteral("kestrin: 无法启动 %1：%2")
                          .arg(helperPath, QString::fromLocal8Bit(strerror(errno))));
        return 1;
    }

    QString m_exeDir;
    int m_argc;
    char** m_argv;
};

// --quick-add: the small window; the add goes to the running copy, or is written here, as --add's.
int openQuickAdd(AgendaFolder& folder)
{
    QApplication::setApplicationName(QStringLiteral("Kestrin"));
    QtTranslations::install();
    QuickAddWindow window(folder.clock(), folder.holidays(),
                          [&folder](const AgendaItem& item) { return AddCommand::addItem(folder, item); });
    window.present();
    return QApplication::exec();
}

// The month window of a folder no running copy holds: the agenda read as it is, a day's Enter
// adding through the quick-add window as --add does.
int openMonth(AgendaFolder& folder)
{
    QApplication::setApplicationName(QStringLiteral("Kestrin"));
    QtTranslations::install();
    // The session reads the agenda, and again after each add, and writes nothing itself.
    AgendaSession agenda(folder.disk(), folder.clock(), folder.appDir());
    if (const Result loaded = agenda.load(); !loaded) {
        print(stderr, QStringLiteral("kestrin: ") + loaded.error());
        return 1;
    }
    MonthWindow month(folder.clock(), folder.holidays(), [&agenda] { return agenda.table().items; });
    QuickAddWindow add(folder.clock(), folder.holidays(), [&](const AgendaItem& item) {
        const ResultOf<QString> added = AddCommand::addItem(folder, item);
        if (added)
            agenda.reload();
        month.select(month.selected(), true);
        return added;
    });
    QObject::connect(&month, &MonthWindow::addWanted, &add, [&add](QDate day) {
        add.present();
        add.setDay(day);
    });
    month.present();
    return QApplication::exec();
}

// A command: those that need no window run in a core application.
int runCommand(TextFiles& disk, const CommandLine& options, const QString& elsewhere, const QString& exeDir,
               int argc, char* argv[])
{
    const Command& command = *options.command;
    // A window's command gets its application first: asking a running copy needs one too.
    std::optional<QCoreApplication> core;
    std::optional<QApplication> gui;
    const bool windowed = command.opensWindow() && displayAvailable();
    if (windowed)
        gui.emplace(argc, argv);
    else
        core.emplace(argc, argv);
    const SystemClock clock;
    AgendaFolder folder(disk, options.appDir, elsewhere, clock);
    HandOver helper(exeDir, argc, argv);
    std::function<int()> openWindow;
    if (windowed)
        openWindow = [&] { return options.runs(u"--calendar") ? openMonth(folder) : openQuickAdd(folder); };
    return command.run({folder, options, QCoreApplication::applicationFilePath(), helper, openWindow});
}

// The program itself: the window, the tray and the sync schedule, once per data folder.
int runDesktop(TextFiles& disk, const CommandLine& options, const QString& elsewhere, const QString& exeDir,
               int argc, char* argv[])
{
    if (!displayAvailable()) {
        // Remembering the second backup folder is a task for scripts as well.
        if (options.backupDir) {
            print(
                stdout,
                elsewhere.isEmpty()
                    ? QStringLiteral("已记住：不再异地备份。")
                    : QStringLiteral("已记住：备份另存一份到 %1。").arg(QDir::toNativeSeparators(elsewhere)));
            return 0;
        }
        print(stderr,
              QStringLiteral("kestrin: 找不到图形显示（DISPLAY 与 WAYLAND_DISPLAY 都未设置），无法打开窗口。"
                             "不需要窗口的用法见 kestrin --help。"));
        return 1;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kestrin"));
    // The program lives in the tray: a hidden window or a closed notice is not the end of it.
    QApplication::setQuitOnLastWindowClosed(false);
    QtTranslations::install();

    SingleInstance instance(options.appDir);
    switch (instance.claim()) {
    case SingleInstance::First:
        if (const Result listening = instance.listen(); !listening)
            print(stderr, QStringLiteral("kestrin: 无法建立本地连接（%1），再次启动时将无法唤出本程序。")
                              .arg(listening.error()));
        break;
    case SingleInstance::Forwarded:
        return 0;
    case SingleInstance::Unreachable: {
        const QString text = QStringLiteral("另一个 Kestrin 正在使用 %1，但没有应答，本次启动已取消。")
                                 .arg(QDir::toNativeSeparators(options.appDir));
        print(stderr, QStringLiteral("kestrin: ") + text);
        QtMessageBoxes().inform(text);
        return 1;
    }
    }

    DesktopServices desktop(disk, options.appDir, elsewhere,
                            // The sound stack is opened at the first sound readied or played, not at start.
                            {QDir(exeDir).filePath(QStringLiteral("kestrin_sound.so")),
                             QDir(exeDir).filePath(QStringLiteral(KESTRIN_LIB_DIR "/kestrin_sound.so"))});
    int code = 0;
    {
        ProcessSyncRunner syncRunner(syncHelper(exeDir), exeDir, options.appDir);
        Program program(desktop.services, desktop.tray, syncRunner, desktop.disk);
        program.attach(desktop.messages, desktop.tray, instance);
        UnixSignals signals_(&app);
        program.start();
        code = app.exec();
        instance.requestHandler = nullptr;
    }
    // The day's last state, whatever ended the run (the tray's command, the close box, a signal).
    Command::printBackupProblems(desktop.folder.backups().take());
    return code;
}

} // namespace

int main(int argc, char* argv[])
{
    // One heap for all threads: the X, D-Bus and sound threads allocate little, and each would
    // otherwise hold an arena of its own for the life of the program.
    mallopt(M_ARENA_MAX, 1);
    // Options first: usage, errors and the backups need no display.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const QString exeDir =
        QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath().section(u'/', 0, -2);
    const ResultOf<CommandLine> parsed = CommandLine::parse(arguments, exeDir);
    if (!parsed) {
        print(stderr, QStringLiteral("kestrin: %1（kestrin --help 显示用法）").arg(parsed.error()));
        return 2;
    }
    const CommandLine& options = *parsed;
    if (options.help) {
        print(stdout, CommandLine::usage(options.appDir));
        return 0;
    }
    if (const Result prepared = DataFolder::prepare(options.appDir, exeDir); !prepared) {
        print(stderr, QStringLiteral("kestrin: ") + prepared.error());
        return 1;
    }
    const std::optional<QString> rememberedElsewhere = backupElsewhere(options);
    if (!rememberedElsewhere)
        return 1;
    const QString& elsewhere = *rememberedElsewhere;
    // The data folder's files, for every part of the program that reads or writes them.
    DiskTextFiles disk;
    if (options.command)
        return runCommand(disk, options, elsewhere, exeDir, argc, argv);
    return runDesktop(disk, options, elsewhere, exeDir, argc, argv);
}
