#include "agenda/core/LogRestore.h"

#include "agenda/core/AgendaFile.h"
#include "agenda/core/AgendaStore.h"
#include "log/core/LogEntry.h"
#include "log/core/LogStore.h"

namespace LogRestore {

StoreChange restore(AgendaStore& agenda, LogStore& log, int row)
{
    if (row < 0 || row >= log.lines().raw.size())
        return {};
    if (const Result refusal = agenda.checkAdd(); !refusal)
        return StoreChange::refused(refusal.error());
    const std::optional<LogEntry::Entry> entry = LogEntry::at(log, row);
    if (const Result refusal = entry ? AgendaStore::checkControlCharacters(entry->content) : Result::done();
        !refusal)
        return StoreChange::refused(refusal.error());
    if (!entry || !AgendaStore::checkText(entry->content))
        return StoreChange::refused(QStringLiteral("此条日志无法恢复：格式不符。"));
    if (agenda.contains(entry->content))
        return StoreChange::refused(QStringLiteral("此日程已经存在!"));
    // Both files must still be what the user sees before either is written.
    if (!log.unchangedOnDisk())
        return StoreChange::changedElsewhere(QString::fromUtf8(LogFile::fileName));
    if (!agenda.unchangedOnDisk())
        return StoreChange::changedElsewhere(QString::fromUtf8(AgendaFile::fileName));
    StoreChange added = agenda.add({entry->content, entry->setDate, entry->finishDate, 0, {}, entry->time});
    if (added.status != StoreChange::Done)
        return added;
    StoreChange removed = log.removeLine(row);
    if (removed.status != StoreChange::Done)
        removed.message = QStringLiteral("日程已恢复，但此条日志未能删除：") + removed.message;
    return removed;
}

} // namespace LogRestore
