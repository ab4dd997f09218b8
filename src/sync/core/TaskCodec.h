#pragma once

#include "sync/core/SyncEntry.h"

#include <QByteArray>
#include <QDateTime>

#include <optional>

// A task list's VTODO as an agenda item, through libical.
namespace TaskCodec {

// Fills task's uid, values, open and closedOn from its iCalendar text; task.readable says why it
// cannot be read, and an event or a journal is marked notATask. Times are taken on this machine's local date;
// a task without DUE is due on its DTSTART, or on firstSeen; a recurring one is its next occurrence from
// today.
void read(ServerTask& task, QDate today, QDate firstSeen);

// The task's iCalendar text: previous (empty for a new task) with its summary, dates and status
// changed where they differ, every other line as it came. A moved DATE-TIME keeps its time of day
// and zone. before is what the task was last agreed to hold, when known: a DTSTART or DUE the task
// does not have is added only when its date changed since. parentUid: the task of
// values.structure.parent's item, empty at the top level; nothing leaves the task's relations as
// they are.
QByteArray write(const QByteArray& previous, const QString& uid, const TaskValues& values, bool open,
                 const QDateTime& now, const TaskValues* before = nullptr,
                 const std::optional<QString>& parentUid = std::nullopt);

} // namespace TaskCodec
