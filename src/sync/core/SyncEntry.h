#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>

// What an agenda item and a task share: its text and its two dates.
struct TaskValues
{
    QString text;
    QDate set;
    QDate finish;

    bool operator==(const TaskValues&) const = default;
};

// One item as last synced: the task that holds it on the server and the values both sides agreed on.
struct SyncEntry
{
    QString uid;
    QString href; // the task's path on the server
    QByteArray etag;
    TaskValues values;
};

// A task as the server holds it now.
struct ServerTask
{
    QString href;
    QByteArray etag;
    QByteArray ics; // as fetched, so that an update keeps what the agenda does not know
    QString uid;
    TaskValues values;
    bool open = true;
    QDate closedOn;  // the completion date of a closed task, when it has one
    QString problem; // why the task cannot be read, or empty
};
