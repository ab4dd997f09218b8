#pragma once

#include "agenda/core/ItemStructure.h"
#include "calendar/core/RepeatRule.h"
#include "platform/Result.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QTime>

// A text as a task list carries it: iCalendar readers (libical among them) drop the blanks and
// tabs around a SUMMARY, so "买菜 " comes back as "买菜", and the two are the same task's text.
inline QString taskText(const QString& text)
{
    qsizetype begin = 0, end = text.size();
    while (begin < end && (text[begin] == u' ' || text[begin] == u'\t'))
        ++begin;
    while (end > begin && (text[end - 1] == u' ' || text[end - 1] == u'\t'))
        --end;
    return text.mid(begin, end - begin);
}

// What an agenda item and a task share: its text, its two dates, how it repeats, the time of day
// it is due at (a DUE with a time, here), to be reminded at, and its parent (by text, as the agenda
// knows it), priority and tags.
struct TaskValues
{
    QString text;
    QDate set;
    QDate finish;
    RepeatRule repeat = {};
    QTime time = {};
    ItemStructure structure = {};

    bool operator==(const TaskValues& other) const
    {
        return set == other.set && finish == other.finish && repeat == other.repeat && time == other.time &&
               taskText(text) == taskText(other.text) && structure == other.structure;
    }
};

// One item as last synced: the task that holds it on the server and the values both sides agreed on.
struct SyncEntry
{
    QString uid;
    QString href; // the task's path on the server
    QByteArray etag;
    TaskValues values;
    bool open = true; // a completed task is remembered, so that its item coming back opens it again
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
    bool recurring = false; // a rule the agenda cannot hold: values are its next occurrence
    // The completion date of a closed task, or of the latest occurrence completed beside an open
    // series, when it has one.
    QDate closedOn;
    Result readable;       // failed: why the task cannot be read
    bool notATask = false; // an event or a journal sharing the calendar: not the agenda's
    // Its parent as the task names it (RELATED-TO, untyped or RELTYPE=PARENT, the first), and the
    // tasks it names as its children (RELTYPE=CHILD): values.structure.parent is found from both.
    QString parentUid = {};
    QStringList childUids = {};
};
