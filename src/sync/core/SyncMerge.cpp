#include "sync/core/SyncMerge.h"

#include "sync/schedule/SyncRenames.h"

#include "agenda/core/AgendaStore.h"
#include "calendar/core/DateText.h"
#include "log/core/LogFile.h"

#include <QHash>
#include <QSet>

namespace SyncMerge {

namespace {

TaskValues valuesOf(const AgendaItem& item)
{
    return {item.text, item.setDate, item.finishDate, item.repeat, item.time, item.structure};
}

QString entryFor(const TaskValues& values, QDate deleted)
{
    return LogFile::formatEntry(values.text, DateText::format(values.set),
                                DateText::format(values.finish, values.time), DateText::format(deleted));
}

// The merge's working state, so that each case below reads as the rule it follows.
class Merge
{
public:
    Merge(const QList<AgendaItem>& local, QDate today, const HolidayCalendar& holidays)
        : m_local(local), m_today(today), m_holidays(holidays)
    {
        for (qsizetype i = 0; i < local.size(); ++i)
            m_localIndex.insert(taskText(local[i].text), int(i)); // a hand-made twin counts once, as the last
        m_replaced.resize(local.size());
        m_removed.resize(local.size());
    }

    int claim(const QString& text)
    {
        const int index = m_localIndex.value(taskText(text), -1);
        if (index < 0 || m_claimed.contains(index))
            return -1;
        m_claimed.insert(index);
        return index;
    }
    // Whether the item at index is already matched, or is the twin of one with its text.
    bool taken(int index) const
    {
        return m_claimed.contains(index) || m_localIndex.value(taskText(m_local[index].text)) != index;
    }
    const TaskValues localValues(int index) const { return valuesOf(m_local[index]); }

    void remove(int index, QDate date)
    {
        m_removed[index] = true;
        plan.removalEntries.append(entryFor(localValues(index), date.isValid() ? date : m_today));
        plan.agendaChanged = true;
    }
    // The values a repeating item at index moves on to once its occurrence is done; nothing for
    // an item that does not repeat.
    std::optional<TaskValues> movedOn(int index) const
    {
        const AgendaItem& item = m_local[index];
        const QDate next = item.repeat.following(item.finishDate, m_today, m_holidays);
        if (!next.isValid())
            return std::nullopt;
        return TaskValues{item.text, m_today, next, item.repeat, item.time, item.structure};
    }
    // Whether the task's values are the agreed ones moved on along their rule, as a phone that
    // completes an occurrence leaves a series: the same text and rule, due on a later date of it.
    bool movedAlong(const TaskValues& agreed, const TaskValues& now) const
    {
        const RepeatRule& rule = agreed.repeat;
        if (rule.kind == RepeatRule::None || now.repeat != rule ||
            taskText(now.text) != taskText(agreed.text))
            return false;
        QDate date = agreed.finish;
        // A bound for a date far ahead: a daily rule over three years.
        for (int i = 0; i < 1100 && date.isValid() && date < now.finish; ++i)
            date = rule.next(date, m_holidays);
        return date.isValid() && date == now.finish && now.finish > agreed.finish;
    }
    // This occurrence to the log, on the day it was done, and the item on to its next.
    void moveOn(int index, const TaskValues& next, QDate date)
    {
        plan.removalEntries.append(entryFor(localValues(index), date.isValid() ? date : m_today));
        replace(index, next);
    }
    void replace(int index, const TaskValues& values)
    {
        m_replaced[index] = values;
        m_addedTexts.insert(taskText(values.text));
        plan.agendaChanged = true;
    }
    void add(const TaskValues& values)
    {
        m_added.append(
            {values.text, values.set, values.finish, 0, values.repeat, values.time, values.structure});
        m_addedTexts.insert(taskText(values.text));
        plan.agendaChanged = true;
    }
    // Whether a server's text may come into the agenda as the item at index (-1: a new one).
    Result admits(const QString& text, int index) const
    {
        if (Result why = AgendaStore::checkText(text); !why)
            return why;
        // Blanks alone would come back from the task list as nothing.
        if (taskText(text).isEmpty())
            return AgendaStore::checkText({});
        const int holder = m_localIndex.value(taskText(text), -1);
        if ((holder >= 0 && holder != index) || m_addedTexts.contains(taskText(text)))
            return Result::failed(QStringLiteral("此日程已经存在!"));
        return Result::done();
    }
    // A version that lost, kept in my.log: on the day it was completed there, when it was.
    void archive(const TaskValues& values, QDate date = {})
    {
        plan.conflictEntries.append(entryFor(values, date.isValid() ? date : m_today));
        ++plan.conflicts;
    }
    void skip(const QString& text, const QString& why)
    {
        plan.skipped.append(QStringLiteral("“%1”：%2").arg(text, why));
    }

    void finish()
    {
        if (!plan.agendaChanged)
            return;
        // A parent renamed there keeps its subtasks here, and what was agreed of them follows.
        QHash<QString, QString> renamed;
        for (qsizetype i = 0; i < m_local.size(); ++i)
            if (m_replaced[i] && taskText(m_replaced[i]->text) != taskText(m_local[i].text))
                renamed.insert(m_local[i].text, m_replaced[i]->text);
        const auto follow = [&renamed](ItemStructure& structure) {
            if (const auto to = renamed.constFind(structure.parent); to != renamed.cend())
                structure.parent = *to;
        };
        for (SyncEntry& entry : plan.entries)
            follow(entry.values.structure);
        for (qsizetype i = 0; i < m_local.size(); ++i) {
            if (m_removed[i])
                continue;
            AgendaItem item = m_local[i];
            if (const std::optional<TaskValues>& values = m_replaced[i]) {
                item.text = values->text;
                item.setDate = values->set;
                item.finishDate = values->finish;
                item.repeat = values->repeat;
                item.time = values->time;
                item.structure = values->structure;
            }
            follow(item.structure);
            plan.items.append(item);
        }
        for (AgendaItem& item : m_added)
            follow(item.structure);
        plan.items.append(m_added);
    }

    SyncPlan plan;

private:
    const QList<AgendaItem>& m_local;
    QDate m_today;
    const HolidayCalendar& m_holidays;
    QHash<QString, int> m_localIndex;
    QSet<int> m_claimed;
    QList<std::optional<TaskValues>> m_replaced;
    QList<bool> m_removed;
    QList<AgendaItem> m_added;
    QSet<QString> m_addedTexts;
};

} // namespace

namespace {

// One sync's passes over the three sides: the tasks agreed before, the tasks new there, the tasks
// completed before, and the items new here.
class Passes
{
public:
    Passes(const QList<AgendaItem>& local, const QList<ServerTask>& server, QDate today,
           const HolidayCalendar& holidays)
        : merge(local, today, holidays), m_local(local), m_server(server)
    {
        for (const ServerTask& task : server)
            m_serverByHref.insert(task.href, &task);
    }

    Merge merge;
    SyncPlan& plan = merge.plan;

    void upload(const SyncEntry& entry, const ServerTask* task, const TaskValues& values, bool open,
                std::optional<SyncEntry> unchanged)
    {
        const bool there = task != nullptr;
        const bool completes = !open && there && task->open;
        plan.uploads.append({entry.href, there ? task->etag : QByteArray(), there ? task->ics : QByteArray(),
                             entry.uid, values, open, std::move(unchanged), completes});
        // Marked to be found once every task's UID is known: the parent may go up in this sync too.
        if (there ? task->values.structure.parent != values.structure.parent
                  : !values.structure.parent.isEmpty())
            plan.uploads.last().parentUid = QString();
    }

    // A task both sides had open at the last sync, as it stands on each side now.
    void agreed(const SyncEntry& original, const QHash<QString, QString>& renames)
    {
        // A parent renamed here is the same parent: the subtask did not change for it.
        SyncEntry entry = original;
        if (!entry.values.structure.parent.isEmpty())
            entry.values.structure.parent = SyncRenames::follow(renames, entry.values.structure.parent);
        m_known.insert(entry.href);
        if (!entry.open) {
            m_completed.append(&original);
            return;
        }
        const ServerTask* task = m_serverByHref.value(entry.href);
        if (task && !task->readable) {
            // Unreadable now: left as it was on both sides until it reads again.
            merge.skip(entry.values.text, task->readable.error());
            merge.claim(entry.values.text);
            plan.entries.append(entry);
            return;
        }
        int index = merge.claim(entry.values.text);
        // Renamed here: the same item, changed.
        if (const QString renamed = SyncRenames::follow(renames, entry.values.text);
            index < 0 && renamed != entry.values.text)
            index = merge.claim(renamed);
        if (!task || !task->open)
            closedThere(entry, task, index);
        else if (index < 0)
            deletedHere(entry, *task);
        else
            openOnBoth(entry, *task, index);
    }

    // Completed or deleted there since.
    void closedThere(const SyncEntry& entry, const ServerTask* task, int index)
    {
        if (index >= 0 && merge.localValues(index) != entry.values) {
            // Changed here while closed there: the agenda's version stays and goes back, and
            // the completion that lost is archived like any losing version.
            upload(entry, task, merge.localValues(index), true, entry);
            if (task)
                merge.archive(task->values, task->closedOn);
            else
                ++plan.conflicts;
            return;
        }
        // Completed there, a repeating item moves on here and its task opens again at the next
        // date: the series goes on until it is ended here.
        if (const std::optional<TaskValues> next = index >= 0 && task ? merge.movedOn(index) : std::nullopt) {
            merge.moveOn(index, *next, task->closedOn);
            upload(entry, task, *next, true, entry);
            ++plan.completed;
            return;
        }
        if (index >= 0) {
            merge.remove(index, task ? task->closedOn : QDate());
            ++plan.completed;
        }
        // Completed there: remembered as such. Deleted there: forgotten.
        if (task)
            plan.entries.append({entry.uid, entry.href, task->etag, entry.values, false});
    }

    // Deleted here: the task is completed there, and a version changed there meanwhile is
    // archived first, so that it can be restored.
    void deletedHere(const SyncEntry& entry, const ServerTask& task)
    {
        if (task.etag != entry.etag && task.values != entry.values)
            merge.archive(task.values);
        upload(entry, &task, task.values, false, entry);
    }

    void openOnBoth(const SyncEntry& entry, const ServerTask& task, int index)
    {
        const bool serverChanged = task.etag != entry.etag && task.values != entry.values;
        const TaskValues mine = merge.localValues(index);
        const bool localChanged = mine != entry.values;
        SyncEntry after{entry.uid, entry.href, task.etag, mine};
        if (mine == task.values) {
            // Nothing to do, or both sides made the same change.
        } else if (localChanged) {
            if (serverChanged)
                merge.archive(task.values);
            upload(after, &task, mine, true, entry);
            return;
        } else if (serverChanged && merge.movedAlong(entry.values, task.values)) {
            // An occurrence completed there: archived here as a completion here is, on its day.
            merge.moveOn(index, task.values, task.closedOn);
            after.values = task.values;
            ++plan.completed;
        } else if (serverChanged) {
            if (const Result why = merge.admits(task.values.text, index); !why) {
                merge.skip(task.values.text, why.error());
                after.values = entry.values;
                after.etag = entry.etag;
            } else {
                merge.replace(index, task.values);
                after.values = task.values;
                ++plan.downloaded;
            }
        }
        plan.entries.append(after);
    }

    // Open tasks the last sync did not know.
    void newThere()
    {
        for (const ServerTask& task : m_server) {
            if (m_known.contains(task.href) || !task.open)
                continue;
            if (!task.readable) {
                merge.skip(task.href.section(u'/', -1), task.readable.error());
                continue;
            }
            SyncEntry entry{task.uid, task.href, task.etag, task.values};
            // The same text on both sides is the same item: a first sync makes no twins.
            if (const int index = merge.claim(task.values.text); index >= 0) {
                TaskValues mine = merge.localValues(index);
                // What the agenda never set (a parent, a priority, tags) is the phone's to give.
                if (mine.structure.isEmpty() && !task.values.structure.isEmpty()) {
                    mine.structure = task.values.structure;
                    merge.replace(index, mine);
                }
                if (mine != task.values) {
                    merge.archive(task.values);
                    const SyncEntry theirs = entry;
                    entry.values = mine;
                    upload(entry, &task, mine, true, theirs);
                } else {
                    plan.entries.append(entry);
                }
                continue;
            }
            if (const Result why = merge.admits(task.values.text, -1); !why) {
                merge.skip(task.values.text, why.error());
                continue;
            }
            merge.add(task.values);
            plan.entries.append(entry);
            ++plan.downloaded;
        }
    }

    // Completed tasks stay out of the agenda, unless their item comes back here (恢复到日程, or
    // typed again), which opens the task again instead of making a second one beside it, or they
    // are opened again elsewhere, which brings them back as a new task comes.
    void completedBefore()
    {
        for (const SyncEntry* entry : std::as_const(m_completed)) {
            const ServerTask* task = m_serverByHref.value(entry->href);
            if (!task)
                continue;
            if (!task->readable) {
                plan.entries.append(*entry);
                continue;
            }
            const SyncEntry now{entry->uid, entry->href, task->etag, task->values, task->open};
            int index = merge.claim(task->values.text);
            if (index < 0 && taskText(entry->values.text) != taskText(task->values.text))
                index = merge.claim(entry->values.text);
            if (index >= 0)
                backHere(*entry, now, *task, index);
            else if (!task->open)
                plan.entries.append(now);
            else if (const Result why = merge.admits(task->values.text, -1); !why) {
                merge.skip(task->values.text, why.error());
                plan.entries.append(*entry);
            } else {
                merge.add(task->values);
                plan.entries.append(now);
                ++plan.downloaded;
            }
        }
    }

    // A completed task whose item is in the agenda again.
    void backHere(const SyncEntry& entry, const SyncEntry& now, const ServerTask& task, int index)
    {
        const TaskValues mine = merge.localValues(index);
        if (task.open && mine == task.values) {
            plan.entries.append(now);
            return;
        }
        if (task.open)
            merge.archive(task.values);
        upload(now, &task, mine, true, entry);
    }

    // Items no task stands for yet: each a new task.
    void newHere(const std::function<QString()>& newUid,
                 const std::function<QString(const QString&)>& hrefFor)
    {
        for (qsizetype i = 0; i < m_local.size(); ++i) {
            if (merge.taken(int(i)))
                continue;
            const QString uid = newUid();
            upload({uid, hrefFor(uid), {}, {}}, nullptr, valuesOf(m_local[i]), true, std::nullopt);
        }
    }

private:
    const QList<AgendaItem>& m_local;
    const QList<ServerTask>& m_server;
    QHash<QString, const ServerTask*> m_serverByHref;
    QSet<QString> m_known;
    QList<const SyncEntry*> m_completed;
};

} // namespace

SyncPlan plan(const QList<SyncEntry>& base, const QList<AgendaItem>& local, const QList<ServerTask>& server,
              const QHash<QString, QString>& renames, QDate today, const std::function<QString()>& newUid,
              const std::function<QString(const QString&)>& hrefFor, const HolidayCalendar& holidays)
{
    Passes passes(local, server, today, holidays);
    for (const SyncEntry& entry : base)
        passes.agreed(entry, renames);
    passes.newThere();
    passes.completedBefore();
    passes.newHere(newUid, hrefFor);
    passes.merge.finish();
    // Each upload's parent by its task: one known before, or one going up in this same sync.
    QHash<QString, QString> uidOf;
    for (const SyncEntry& entry : std::as_const(passes.plan.entries))
        if (entry.open)
            uidOf.insert(taskText(entry.values.text), entry.uid);
    for (const SyncPlan::Upload& upload : std::as_const(passes.plan.uploads))
        if (upload.open)
            uidOf.insert(taskText(upload.values.text), upload.uid);
    for (SyncPlan::Upload& upload : passes.plan.uploads)
        if (upload.parentUid)
            upload.parentUid = uidOf.value(taskText(upload.values.structure.parent));
    return passes.plan;
}

} // namespace SyncMerge
