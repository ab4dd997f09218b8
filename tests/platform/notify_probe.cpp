// Sends alarm notifications the way the program does and says which way they went. With "buttons":
// one with the notice's buttons, another taken back before the server has answered; then waits for
// a button to be pressed and prints "pressed HANDLE KEY".
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
    if (argc < 2 || qstrcmp(argv[1], "buttons") != 0) {
        notifications.notify(QStringLiteral("Kestrin闹钟"), QStringLiteral("吃药"));
        QTimer::singleShot(300, &app, &QCoreApplication::quit);
        return app.exec();
    }
    const QList<Notifications::Action> buttons = {
        {QStringLiteral("snooze-5"), QStringLiteral("5 分钟后再响")},
        {QStringLiteral("dismiss"), QStringLiteral("我知道啦")}};
    notifications.notify(QStringLiteral("Kestrin闹钟"), QStringLiteral("吃药"), buttons);
    notifications.withdraw(
        notifications.notify(QStringLiteral("Kestrin闹钟"), QStringLiteral("取消"), buttons));
    QObject::connect(&notifications, &Notifications::actionInvoked, &app, [](int handle, const QString& key) {
        std::printf("pressed %d %s\n", handle, qPrintable(key));
        QCoreApplication::quit();
    });
    std::fflush(stdout);
    QTimer::singleShot(10000, &app, &QCoreApplication::quit);
    return app.exec();
}
