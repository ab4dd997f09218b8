#include "AgendaPanel.h"
#include "BackupBeforeWrite.h"
#include "Backups.h"
#include "CommandLine.h"
#include "CommandTasks.h"
#include "DataFolder.h"
#include "FormMain.h"
#include "QtMessageBoxes.h"
#include "QtNotifications.h"
#include "QtShell.h"
#include "QtSoundDevice.h"
#include "QtTranslations.h"
#include "QtTrayIcon.h"
#include "Services.h"
#include "Settings.h"
#include "SingleInstance.h"
#include "UnixSignals.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonObject>
#include <QSettings>

#include <malloc.h>

namespace {

const QString backupDirKey = QStringLiteral("backup/dir");

void printProblems(const QStringList& problems)
{
    for (const QString& problem : problems)
        CommandTasks::print(stderr, QStringLiteral("kestrin: 备份：") + problem);
}

// The second backup folder: the one given now, remembered for later runs, or the one remembered.
QString backupElsewhere(const CommandLine& options)
{
    QSettings settings(QDir(options.AppDir).filePath(QString::fromUtf8(Settings::fileName)),
                       QSettings::IniFormat);
    if (options.backupDir) {
        if (options.backupDir->isEmpty())
            settings.remove(backupDirKey);
        else
            settings.setValue(backupDirKey, *options.backupDir);
        settings.sync();
    }
    return settings.value(backupDirKey).toString();
}

// The answers to a script's requests on the running copy's socket.
QJsonObject answer(AgendaPanel* agenda, const QJsonObject& request)
{
    const QJsonValue text = request.value(QStringLiteral("text")), set = request.value(QStringLiteral("set")),
                     finish = request.value(QStringLiteral("finish"));
    if (request.value(QStringLiteral("command")).toString() != QStringLiteral("add") || !text.isString() ||
        !set.isString() || !finish.isString())
        return SingleInstance::refusal(QStringLiteral("请求格式不对，未执行。"));
    const StoreChange change = agenda->AddTyped(text.toString(), set.toString(), finish.toString());
    if (change.status == StoreChange::Done)
        return {{QStringLiteral("ok"), true}};
    return SingleInstance::refusal(change.message.isEmpty() ? QStringLiteral("日程未添加。")
                                                            : change.message);
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
    const CommandLine options = CommandLine::parse(arguments, exeDir);
    using CommandTasks::print;
    if (options.action == CommandLine::Help) {
        print(stdout, CommandLine::usage(options.AppDir));
        return 0;
    }
    if (options.action == CommandLine::Error) {
        print(stderr, QStringLiteral("kestrin: %1（kestrin --help 显示用法）").arg(options.error));
        return 2;
    }
    if (const QString problem = DataFolder::prepare(options.AppDir, exeDir); !problem.isEmpty()) {
        print(stderr, QStringLiteral("kestrin: ") + problem);
        return 1;
    }
    const QString elsewhere = backupElsewhere(options);
    if (options.action != CommandLine::Run) {
        QCoreApplication app(argc, argv);
        switch (options.action) {
        case CommandLine::ListBackups:
            return CommandTasks::listBackups(options, elsewhere);
        case CommandLine::Restore:
            return CommandTasks::restore(options, elsewhere);
        case CommandLine::List:
            return CommandTasks::listAgenda(options);
        case CommandLine::Add:
            return CommandTasks::add(options);
        case CommandLine::Autostart:
            return CommandTasks::autostart(options, QCoreApplication::applicationFilePath());
        default:
            return 2;
        }
    }
    Backups backups(options.AppDir, elsewhere);

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kestrin"));
    // The program lives in the tray: a hidden window or a closed notice is not the end of it.
    QApplication::setQuitOnLastWindowClosed(false);
    QtTranslations::install();

    SingleInstance instance(options.AppDir);
    switch (instance.claim()) {
    case SingleInstance::First:
        if (!instance.listenError().isEmpty())
            print(stderr, QStringLiteral("kestrin: 无法建立本地连接（%1），再次启动时将无法唤出本程序。")
                              .arg(instance.listenError()));
        break;
    case SingleInstance::Forwarded:
        return 0;
    case SingleInstance::Unreachable: {
        const QString text = QStringLiteral("另一个 Kestrin 正在使用 %1，但没有应答，本次启动已取消。")
                                 .arg(QDir::toNativeSeparators(options.AppDir));
        print(stderr, QStringLiteral("kestrin: ") + text);
        QtMessageBoxes().inform(text);
        return 1;
    }
    }

    SystemClock clock;
    QtMessageBoxes messages;
    DiskTextFiles disk;
    BackupBeforeWrite files(disk, backups, clock);
    files.onProblems = printProblems;
    QtSoundDevice sound;
    QtShell shell;
    QtTrayIcon tray;
    QtNotifications notifications(tray);
    const Services services{clock, messages, files, sound, shell, notifications, options.AppDir};

    int code = 0;
    {
        FormMain window(services, tray);
        messages.setParentWidget(&window);
        QObject::connect(&instance, &SingleInstance::activationRequested, &window, &FormMain::activate);
        instance.requestHandler = [&window](const QJsonObject& request) {
            return answer(window.agendaPanel(), request);
        };
        UnixSignals signals_(&app);
        window.startup();
        code = app.exec();
        instance.requestHandler = nullptr;
    }
    // The day's last state, whatever ended the run (the tray's command, the close box, a signal).
    printProblems(backups.take());
    return code;
}
