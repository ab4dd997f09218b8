#pragma once

#include <QList>
#include <QObject>
#include <QString>

// Telling the desktop, which shows it even while the program's windows are out of sight.
class Notifications : public QObject
{
    Q_OBJECT
public:
    // A button on the notification: the key comes back through actionInvoked.
    struct Action
    {
        QString key;
        QString label;
    };

    // Returns a handle for withdraw() and actionInvoked. The buttons show where the desktop's
    // notification server offers them, and are left off elsewhere.
    virtual int notify(const QString& title, const QString& text, const QList<Action>& actions = {}) = 0;
    // Takes a notification back, as when what it tells of was dealt with in the window.
    virtual void withdraw(int handle) = 0;

signals:
    void actionInvoked(int handle, const QString& key);
};
