#include "agenda/core/AgendaSession.h"

#include "agenda/core/AgendaFile.h"
#include "agenda/core/LogRestore.h"
#include "calendar/core/HolidayFile.h"
#include "log/core/LogEntry.h"
#include "log/core/LogFile.h"
#include "platform/Services.h"
#include "platform/WallTimer.h"

#include <QDir>

namespace {

QString pathIn(const QString& appDir, const char* fileName)
{
    return QDir(appDir).filePath(QString::fromUtf8(fileName));
}

} // namespace

AgendaSession::AgendaSession(const Services& services, QObject* parent)
    : AgendaSession(services.files, services.clock, services.appDir, parent)
{
}

AgendaSession::AgendaSession(TextFiles& files, const Clock& clock, const QString& appDir, QObject* parent)
    : QObject(parent), m_files(files), m_clock(clock), m_appDir(appDir),
      m_store(files, pathIn(appDir, AgendaFile::fileName), pathIn(appDir, LogFile::fileName)),
      m_midnight(clock.createWallTimer(this))
{
    // Days left change at midnight, and the program stays in the tray for days. The wall timer
    // fires on waking past midnight and whenever the clock is set, so the date is looked at then.
    m_store.setHolidays(m_holidays);
    m_midnight->setObjectName(QStringLiteral("midnightTimer"));
    connect(m_midnight, &WallTimer::fired, this, &AgendaSession::checkDate);
    armMidnight();
}

Result AgendaSession::load()
{
    const Result loaded = m_store.load(m_clock.today());
    // The years imported into the folder name their holidays too; a file that does not read is
    // the alarms' to tell.
    m_holidays = HolidayFile::loadOrShipped(m_files, m_appDir);
    emit this->loaded();
    return loaded;
}

void AgendaSession::reload()
{
    if (const Result loaded = load(); !loaded)
        emit failed(loaded.error());
}

void AgendaSession::reloadIfChanged()
{
    if (m_entryBusy || m_store.unchangedOnDisk())
        return;
    reload();
}

void AgendaSession::armMidnight()
{
    m_midnight->setDeadline(QDateTime(m_clock.today().addDays(1), QTime(0, 0)));
}

void AgendaSession::checkDate()
{
    armMidnight();
    const QDate today = m_clock.today();
    const QDate counted = m_store.table().today;
    // Ending an entry loads the file, and so counts from the new date.
    if (!counted.isValid() || today == counted || m_entryBusy)
        return;
    m_store.recount(today);
    emit loaded();
}

void AgendaSession::setEntryBusy(bool busy)
{
    if (busy == m_entryBusy)
        return;
    m_entryBusy = busy;
    emit entryBusyChanged(busy);
}

Result AgendaSession::apply(const AgendaChange& change)
{
    StoreChange made;
    switch (change.kind) {
    case AgendaChange::Add:
        made = add(change.item);
        break;
    case AgendaChange::Modify:
        made = modify(change.text, change.item);
        break;
    case AgendaChange::Complete:
        made = done(change.text, change.subtasks);
        break;
    case AgendaChange::SetParent:
        made = changeItem(QStringLiteral("设置父任务"),
                          [&] { return m_store.setParent(change.text, change.item.structure.parent); });
        break;
    case AgendaChange::SetPriority:
        made = changeItem(QStringLiteral("设置优先级"),
                          [&] { return m_store.setPriority(change.text, change.item.structure.priority); });
        break;
    case AgendaChange::SetTags:
        made = changeItem(QStringLiteral("设置标签"),
                          [&] { return m_store.setTags(change.text, change.item.structure.tags); });
        break;
    case AgendaChange::SetTime:
        made = changeItem(QStringLiteral("设置提醒时间"),
                          [&] { return m_store.setTime(change.text, change.time); });
        break;
    case AgendaChange::SetRepeat:
        made = changeItem(QStringLiteral("设置重复"),
                          [&] { return m_store.setRepeatWords(change.text, change.repeat); });
        break;
    }
    return made.result(change.notDone());
}

StoreChange AgendaSession::modify(const QString& editedText, const AgendaItem& item)
{
    const StoreChange change = m_store.modify(editedText, item);
    if (change.status == StoreChange::Done) {
        if (item.text != editedText)
            emit renamed(editedText, item.text);
        emit changed();
    }
    return change;
}

void AgendaSession::refresh()
{
    // A file that fails to load now is refused, with its reason, by the add's own check. An entry
    // being made keeps its list; ending it shows the file anyway.
    if (m_entryBusy)
        (void)m_store.load(m_clock.today());
    else
        reload();
}

StoreChange AgendaSession::add(const AgendaItem& item)
{
    // The duplicate check reads the table: it must be the file as it is now.
    if (!m_store.unchangedOnDisk())
        refresh();
    const StoreChange change = m_store.addNew(item, m_clock.today());
    if (change.status == StoreChange::Done) {
        refresh();
        emit changed();
    }
    return change;
}

StoreChange AgendaSession::afterRemoval(const StoreChange& change)
{
    if (change.status == StoreChange::ChangedElsewhere) {
        reload();
        return change;
    }
    if (change.archived) {
        emit logChanged();
        reload();
    }
    if (change.status == StoreChange::Done)
        emit changed();
    return change;
}

Result AgendaSession::remove(const QString& text, int loads, bool subtasks)
{
    if (!m_store.loaded())
        return Result::done();
    return afterRemoval(loads == m_store.loads()
                            ? m_store.remove(text, m_clock.today(), subtasks)
                            : StoreChange::changedElsewhere(QString::fromUtf8(AgendaFile::fileName)))
        .result(QStringLiteral("日程未删除。"));
}

StoreChange AgendaSession::done(const QString& text, AgendaChange::Subtasks subtasks)
{
    // As 删除日程 takes it, without asking: 完成 was the user's own word. Never under an entry.
    if (m_entryBusy)
        return StoreChange::refused(QStringLiteral("请先确认或取消正在填写的日程，再完成“%1”。").arg(text));
    if (m_store.loaded() && !m_store.unchangedOnDisk())
        reload();
    if (const int under = m_store.subtaskCount(text); under > 0 && subtasks == AgendaChange::RefuseSubtasks)
        return StoreChange::refused(
            QStringLiteral("“%1”还有 %2 个未完成的子任务；要一并完成，请加 --with-subtasks。")
                .arg(text)
                .arg(under));
    return afterRemoval(m_store.complete(text, m_clock.today(), subtasks == AgendaChange::WithSubtasks));
}

void AgendaSession::complete(const QString& text)
{
    // An item gone meanwhile is nothing to tell: the reminder was for it.
    if (!m_entryBusy && m_store.loaded() && !m_store.unchangedOnDisk())
        reload();
    if (!m_entryBusy && !m_store.contains(text))
        return;
    if (const Result done = apply(AgendaChange::complete(text)); !done)
        emit failed(done.error());
}

StoreChange AgendaSession::changeItem(const QString& what, const std::function<StoreChange()>& write)
{
    if (m_entryBusy)
        return StoreChange::refused(QStringLiteral("请先确认或取消正在填写的日程，再%1。").arg(what));
    if (!m_store.unchangedOnDisk())
        reload();
    const StoreChange change = write();
    if (change.status == StoreChange::Done || change.status == StoreChange::ChangedElsewhere)
        reload();
    if (change.status == StoreChange::Done)
        emit changed();
    return change;
}

std::optional<QDate> AgendaSession::nextOccurrence(const QString& text) const
{
    return m_store.nextOccurrence(text, m_clock.today());
}

Result AgendaSession::restore(LogStore& log, int row)
{
    // Ending the entry loads the agenda over whatever was restored under it.
    if (m_entryBusy)
        return Result::failed(QStringLiteral("请先确认或取消正在填写的日程，再从日志恢复。"));
    const std::optional<LogEntry::Entry> entry = LogEntry::at(log, row);
    const StoreChange change = LogRestore::restore(m_store, log, row);
    if (change.status == StoreChange::Refused || change.status == StoreChange::Nothing)
        return change.result(QStringLiteral("此条日志未能恢复。"));
    // Told once its new content shows, a file changed elsewhere included.
    reload();
    if (change.status != StoreChange::ChangedElsewhere && entry)
        emit restored(entry->content);
    emit logChanged();
    if (change.status != StoreChange::ChangedElsewhere)
        emit changed();
    return change.result(QStringLiteral("此条日志未能恢复。"));
}
