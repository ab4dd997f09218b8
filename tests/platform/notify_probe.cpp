// Sends one alarm notification the way the program does and says which way it went.
#include "platform/qt/QtNotifications.h"
#include "platform/qt/QtTrayIcon.h"

#include <QApplication>
#include <QIcon>
#include <QTimer>

#include <cstdio>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QtTrayIcon tray;
    tray.add();
    QtNotifications notifications(tray);
    std::printf("%s\n", QtNotifications::serverRunning() ? "server" : "balloon");
    notifications.notify(QStringLiteral("Kestrin闹钟"), QStringLiteral("吃药"));
    QTimer::singleShot(300, &app, &QCoreApplication::quit);
    return app.exec();
}
