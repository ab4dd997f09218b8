#pragma once

#include "calendar/core/HolidayCalendar.h"
#include "sync/core/SyncEntry.h"

#include "agenda/core/AgendaItem.h"

#include <QHash>
#include <QStringList>

#include <functional>
#include <optional>

// What one sync does: the three-way merge of the last synced entries, the agenda and the task list.
struct SyncPlan
{
    struct Upload
    {
        QString href;
        QByteArray ifMatch;  // empty: a new task
        QByteArray previous; // the task's iCalendar text to update; empty when a new one or not fetched
        QString uid;
        TaskValues values;
        bool open = true;
        // What the sync state keeps when the server refuses this one task, so that the next sync
        // tries it again; nothing for a new task. Its values are what both sides last agreed.
        std::optional<SyncEntry> unchanged;
        bool completes = false; // the write completes a task that is open on the server
        // The task of its parent's item, empty at the top level; nothing when its parent did not
        // change here, so that a relation the agenda cannot follow (to a card, a deleted task) stays.
        std::optional<QString> parentUid = {};
    };

    QList<Upload> uploads;
    QStringList conflictEntries; // my.log entries of server versions that lost, written before the uploads
    bool agendaChanged = false;
    QList<AgendaItem> items;    // the agenda afterwards
    QStringList removalEntries; // my.log entries of the items that leave it
    QList<SyncEntry> entries;   // the sync state afterwards, but for the uploads
    // What reached the agenda, what left it because it was completed there, and the conflicts; the
    // writes count themselves as they are done.
    int downloaded = 0, completed = 0, conflicts = 0;
    QStringList skipped; // tasks left alone on both sides, and why
};

namespace SyncMerge {

// server is the whole task list as it is now; local the agenda in file order; renames the texts
// that 修改日程 changed since. newUid gives a UID for each item the server has not seen, hrefFor
// its place in the list. holidays: the arrangement a repeating item of official working days
// moves on by.
SyncPlan plan(const QList<SyncEntry>& base, const QList<AgendaItem>& local, const QList<ServerTask>& server,
              const QHash<QString, QString>& renames, QDate today, const std::function<QString()>& newUid,
              const std::function<QString(const QString&)>& hrefFor,
              const HolidayCalendar& holidays = HolidayCalendar::builtIn());

} // namespace SyncMerge
