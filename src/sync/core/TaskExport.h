#pragma once

#include "agenda/core/AgendaExport.h"

#include <QByteArray>
#include <QDateTime>
#include <QHash>

// The agenda as one iCalendar file of VTODOs that a calendar program imports whole: each item
// written as the sync writes a new task (its dates, time with its zone and alarm, rule, parent,
// priority and tags), the archived ones completed on their day.
namespace TaskExport {

// uids: the task list's UID of each item synced, by text; another item gets one made from its
// text, the same at every export, so that a second file imported elsewhere updates the first.
QByteArray calendar(const QList<AgendaExport::Entry>& entries, const QHash<QString, QString>& uids,
                    const QDateTime& now);
// The UID an item not synced is given.
QString uidFor(const QString& text);

} // namespace TaskExport
