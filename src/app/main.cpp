#include "CommandLine.h"
#include "FormMain.h"
#include "QtMessageBoxes.h"
#include "QtShell.h"
#include "QtSoundDevice.h"
#include "QtTrayIcon.h"
#include "Services.h"
#include "SingleInstance.h"
#include "UnixSignals.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>

int main(int argc, char* argv[])
{
    // Options first: usage and errors need no display.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const CommandLine options = CommandLine::parse(
        arguments, QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath().section(u'/', 0, -2));
    if (options.action == CommandLine::Help) {
        std::fprintf(stdout, "%s\n", qPrintable(CommandLine::usage()));
        return 0;
    }
    if (options.action == CommandLine::Error) {
        std::fprintf(stderr, "kestrin: %s; %s\n", qPrintable(options.error),
                     qPrintable(CommandLine::usage()));
        return 2;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kestrin"));
    // The program lives in the tray: a hidden window or a closed notice is not the end of it.
    QApplication::setQuitOnLastWindowClosed(false);

    SingleInstance instance(options.AppDir);
    switch (instance.claim()) {
    case SingleInstance::First:
        if (!instance.listenError().isEmpty())
            std::fprintf(stderr, "kestrin: 无法建立本地连接（%s），再次启动时将无法唤出本程序。\n",
                         qPrintable(instance.listenError()));
        break;
    case SingleInstance::Forwarded:
        return 0;
    case SingleInstance::Unreachable: {
        const QString text = QStringLiteral("另一个 Kestrin 正在使用 %1，但没有应答，本次启动已取消。")
                                 .arg(QDir::toNativeSeparators(options.AppDir));
        std::fprintf(stderr, "kestrin: %s\n", qPrintable(text));
        QtMessageBoxes().inform(text);
        return 1;
    }
    }

    SystemClock clock;
    QtMessageBoxes messages;
    DiskTextFiles files;
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
    return code;
}
