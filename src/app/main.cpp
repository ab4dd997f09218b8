#include "BackupBeforeWrite.h"
#include "Backups.h"
#include "CommandLine.h"
#include "FormMain.h"
#include "QtMessageBoxes.h"
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
#include <QLockFile>
#include <QSettings>

#include <cstdio>

namespace {

const QString backupDirKey = QStringLiteral("backup/dir");

void print(std::FILE* to, const QString& text)
{
    std::fputs(text.toUtf8().constData(), to);
    std::fputc('\n', to);
}

void printProblems(const QStringList& problems)
{
    for (const QString& problem : problems)
        print(stderr, QStringLiteral("kestrin: 备份：") + problem);
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

int listBackups(const Backups& backups)
{
    const QList<QDate> dates = backups.dates();
    if (dates.isEmpty()) {
        print(stdout, QStringLiteral("还没有备份。"));
        return 0;
    }
    print(stdout, QStringLiteral("可以恢复的日期（kestrin --restore 日期）："));
    for (QDate date : dates) {
        QStringList files;
        for (const Backups::Copy& copy : backups.copiesFor(date))
            if (!copy.path.isEmpty())
                files.append(copy.fileName);
        print(stdout, date.toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral("  ") + files.join(u' '));
    }
    return 0;
}

int restore(Backups& backups, const CommandLine& options)
{
    // A running copy would write its table over the restored files, or they under its feet.
    QLockFile lock(SingleInstance::lockFilePathFor(options.AppDir));
    lock.setStaleLockTime(0);
    if (!lock.tryLock(0)) {
        print(stderr, QStringLiteral("kestrin: Kestrin 正在使用 %1，请先从托盘菜单退出它，再恢复。")
                          .arg(QDir::toNativeSeparators(options.AppDir)));
        return 1;
    }
    QString report;
    const bool ok = backups.restore(options.restoreDate, &report);
    print(ok ? stdout : stderr, report);
    return ok ? 0 : 1;
}

} // namespace

int main(int argc, char* argv[])
{
    // Options first: usage, errors and the backups need no display.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const CommandLine options = CommandLine::parse(
        arguments, QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath().section(u'/', 0, -2));
    if (options.action == CommandLine::Help) {
        print(stdout, CommandLine::usage());
        return 0;
    }
    if (options.action == CommandLine::Error) {
        print(stderr, QStringLiteral("kestrin: %1（kestrin --help 显示用法）").arg(options.error));
        return 2;
    }
    Backups backups(options.AppDir, backupElsewhere(options));
    if (options.action == CommandLine::ListBackups)
        return listBackups(backups);
    if (options.action == CommandLine::Restore)
        return restore(backups, options);

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
    const Services services{clock, messages, files, sound, shell, options.AppDir};

    int code = 0;
    {
        QtTrayIcon tray;
        FormMain window(services, tray);
        messages.setParentWidget(&window);
        QObject::connect(&instance, &SingleInstance::activationRequested, &window, &FormMain::activate);
        UnixSignals signals_(&app);
        window.startup();
        code = app.exec();
    }
    // The day's last state, whatever ended the run (the tray's command, the close box, a signal).
    printProblems(backups.take());
    return code;
}
