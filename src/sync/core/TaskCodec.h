#pragma once

#include "sync/core/SyncEntry.h"

#include <QByteArray>
#include <QDateTime>

// A task list's VTODO as an agenda item, through libical.
namespace TaskCodec {

// Fills task's uid, values, open and closedOn from its iCalendar text; on failure task.problem
// says why. A task without DUE is due on its DTSTART, or on firstSeen; a recurring one is its
// next occurrence from today.
void read(ServerTask& task, QDate today, QDate firstSeen);

// The task's iCalendar text: previous (empty for a new task) with its summary, dates and status
// replaced, everything else kept.
QByteArray write(const QByteArray& previous, const QString& uid, const TaskValues& values, bool open,
                 const QDateTime& now);

} // namespace TaskCodec
