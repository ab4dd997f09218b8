#pragma once

#include "agenda/core/AgendaItem.h"
#include "platform/Result.h"

#include <QByteArray>
#include <QList>
#include <QString>

// The agenda written out for elsewhere: a spreadsheet or a note. Each item in the order the list
// shows it in file order, a subtask after its parent.
namespace AgendaExport {

// An item to write: one open in the agenda, or one archived in my.log (completedOn its day).
struct Entry
{
    AgendaItem item;
    QDate completedOn; // invalid for an open item
    int depth = 0;     // under how many parents the list draws it
};

// The open items of table, in file order with each subtree under its parent.
QList<Entry> openItems(const AgendaTable& table);

// UTF-8 with a byte order mark (so that Excel and WPS read it as Chinese), CR LF, RFC 4180
// quoting: 内容,设置日期,完成日期,时间,重复,优先级,标签,父任务, and 完成日期 of the archived
// ones in a ninth column, 已完成, when there are any.
QByteArray csv(const QList<Entry>& entries);

// A checklist in Markdown, grouped by finish date (逾期 first, then 今天, 明天, each later date
// with its weekday), a subtask indented under its parent in the parent's group, tags and
// priority after the text; the archived ones under 已完成, checked.
QString markdown(const QList<Entry>& entries, QDate today);

// The kind a file's ending names: "ics", "csv", "md", or empty for none of them.
QString formatOf(const QString& file);
// bytes written to file whole, or not at all.
Result write(const QString& file, const QByteArray& bytes);

} // namespace AgendaExport
