#pragma once

#include "sync/core/DavTransport.h"

#include "platform/Result.h"

#include <QList>
#include <QString>
#include <QUrl>

// The task list a user means by an address: the list itself (there or to be made), or the server's
// address, from which the principal (RFC 6764's /.well-known/caldav, current-user-principal) and
// its calendar home (RFC 4791 §6.2.1) lead to the lists that hold tasks.
class TaskListFinder
{
public:
    explicit TaskListFinder(DavTransport& transport);

    struct TaskList
    {
        QString name;
        QUrl url;
    };
    struct Found
    {
        QUrl list;             // the address is a task list, or nothing is there yet
        QList<TaskList> lists; // otherwise, the home's task lists
        QUrl home;             // where a new list goes
    };
    ResultOf<Found> find(const QUrl& address);

private:
    ResultOf<DavReply> propfind(const QUrl& url, const char* depth, QUrl* landed = nullptr);
    // The calendar home the address leads to, from what the address itself said (home, principal),
    // through the well-known address and the principal; here: where the last answer came from.
    ResultOf<QUrl> calendarHome(const QUrl& address, QUrl& here, QString home, QString principal);
    // The task lists a calendar home holds.
    ResultOf<QList<TaskList>> listsIn(const QUrl& home);

    DavTransport& m_transport;
};
