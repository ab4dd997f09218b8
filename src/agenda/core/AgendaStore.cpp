#include "agenda/core/AgendaStore.h"

#include "agenda/core/AgendaFile.h"
#include "agenda/core/AgendaTree.h"
#include "agenda/core/RepeatFile.h"
#include "agenda/core/StructureFile.h"
#include "calendar/core/DateText.h"
#include "calendar/core/HolidayCalendar.h"
#include "log/core/LogFile.h"
#include "platform/files/HeldWrite.h"
#include "platform/files/TextFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <algorithm>

AgendaStore::AgendaStore(TextFiles& files, const QString& agendaPath, const QString& logPath)
    : m_files(files), m_path(agendaPath), m_logPath(logPath),
      m_repeatPath(QFileInfo(agendaPath).dir().filePath(QString::fromUtf8(RepeatFile::fileName))),
      m_structurePath(QFileInfo(agendaPath).dir().filePath(QString::fromUtf8(StructureFile::fileName))),
      m_holidays(&HolidayCalendar::builtIn())
{
}

Result AgendaStore::load(QDate today)
{
    AgendaFile::Load load = AgendaFile::load(m_files, m_path, today);
    RepeatFile::Load rules = RepeatFile::load(m_files, m_repeatPath);
    StructureFile::Load structure = StructureFile::load(m_files, m_structurePath);
    ++m_loads;
    m_loadResult = !load.result ? load.result : !rules.result ? rules.result : structure.result;
    m_loaded = m_loadResult.ok();
    m_stamp = load.stamp;
    m_repeatStamp = rules.stamp;
    m_structureStamp = structure.stamp;
    m_table.items = m_loaded ? std::move(load.items) : QList<AgendaItem>();
    if (!rules.rules.isEmpty()) {
        for (AgendaItem& item : m_table.items)
            item.repeat = rules.rules.value(item.text);
    }
    m_table.gone.clear();
    if (m_loaded && !structure.lines.isEmpty())
        m_table.gone = StructureFile::apply(structure, m_table.items);
    m_table.today = today;
    recount(today);
    return m_loadResult;
}

void AgendaStore::recount(QDate today)
{
    m_table.today = today;
    m_table.overdueCount = 0;
    for (AgendaItem& item : m_table.items) {
        item.daysLeft = int(today.daysTo(item.finishDate));
        if (item.daysLeft < 0)
            ++m_table.overdueCount;
    }
}

bool AgendaStore::unchangedOnDisk() const
{
    return m_stamp.matches(m_files, m_path) && m_repeatStamp.matches(m_files, m_repeatPath) &&
           m_structureStamp.matches(m_files, m_structurePath);
}

std::optional<QDate> AgendaStore::nextOccurrence(const QString& text, QDate today) const
{
    for (const AgendaItem& item : m_table.items) {
        if (item.text == text && item.repeat.kind != RepeatRule::None) {
            const QDate next = item.repeat.following(item.finishDate, today, *m_holidays);
            return next.isValid() ? std::optional<QDate>(next) : std::nullopt;
        }
    }
    return std::nullopt;
}

Result AgendaStore::checkAdd() const
{
    if (m_loaded)
        return Result::done();
    return Result::failed(m_loadResult.error() + QStringLiteral("\r\n请先修正此文件，才能添加日程。"));
}

Result AgendaStore::checkText(const QString& text)
{
    if (text.isEmpty())
        return Result::failed(QStringLiteral("请先添加日程内容!"));
    // The file format has no escapes: such a text would not read back.
    if (text.contains(u'"') || text.contains(u'\n') || text.contains(u'\r'))
        return Result::failed(QStringLiteral("日程内容不能包含双引号或换行!"));
    return checkControlCharacters(text);
}

Result AgendaStore::checkControlCharacters(const QString& text)
{
    // Scripts read the list line by line and field by field: a NUL ends a C string, an escape
    // drives a terminal. A tab is a character users paste.
    const bool control = std::any_of(text.cbegin(), text.cend(), [](QChar c) {
        return (c.unicode() < 0x20 && c != u'\t') || c.unicode() == 0x7f;
    });
    return control ? Result::failed(QStringLiteral("日程内容不能包含控制字符!")) : Result::done();
}

bool AgendaStore::contains(const QString& text) const
{
    return std::any_of(m_table.items.cbegin(), m_table.items.cend(),
                       [&text](const AgendaItem& item) { return item.text == text; });
}

Result AgendaStore::checkEntry(const QString& text, const QString* editedText) const
{
    if (Result refusal = checkText(text); !refusal)
        return refusal;
    if (contains(text) && (!editedText || text != *editedText))
        return Result::failed(QStringLiteral("此日程已经存在!"));
    return Result::done();
}

ResultOf<AgendaItem> AgendaStore::checkedItem(const QString& text, const QString& setText,
                                              const QString& finishText, const QString* editedText) const
{
    if (Result refusal = checkEntry(text, editedText); !refusal)
        return refusal;
    const ResultOf<QDate> setDate = DateText::parse(setText);
    const ResultOf<QDate> finishDate = setDate ? DateText::parse(finishText) : setDate;
    // The entry box's one word for either, as the panel has always said it.
    if (!setDate || !finishDate)
        return ResultOf<AgendaItem>::failed(QStringLiteral("请输入有效日期！"));
    return AgendaItem{text, *setDate, *finishDate, 0};
}

Result AgendaStore::checkDelete(const QString& text) const
{
    const bool repeats =
        std::any_of(m_table.items.cbegin(), m_table.items.cend(), [&text](const AgendaItem& item) {
            return item.text == text && item.repeat.kind != RepeatRule::None;
        });
    if (m_table.count() == 1 && !repeats)
        return Result::failed(QStringLiteral("总得留下最后一件事吧!否则，显得太无聊了。"));
    return Result::done();
}

StoreChange AgendaStore::writeFailed(const QString& fileName, const QString& error) const
{
    return StoreChange::failed(QStringLiteral("日程未能保存：无法写入 %1（%2）").arg(fileName, error));
}

StoreChange AgendaStore::add(const AgendaItem& item)
{
    // An append cannot undo a change made elsewhere, so it needs no check of the file; but it
    // would be lost in a file that another writer is replacing at that moment.
    return writeHeld(m_files, m_path, nullptr, [&] { return appendHeld(item); });
}

StoreChange AgendaStore::appendHeld(const AgendaItem& item)
{
    if (const Result written = AgendaFile::append(m_files, m_path, item); !written)
        return writeFailed(QString::fromUtf8(AgendaFile::fileName), written.error());
    return StoreChange::done();
}

StoreChange AgendaStore::addNew(const AgendaItem& item, QDate today)
{
    // The check for a twin and the write are one step under the hold: two writers adding one text
    // at once would otherwise each find it missing in the table it loaded before.
    return writeHeld(m_files, m_path, nullptr, [&] {
        // A file that fails to load now is refused by the check below, with its reason.
        if (m_loaded && !unchangedOnDisk())
            (void)load(today);
        if (const Result refusal = checkAdd(); !refusal)
            return StoreChange::refused(refusal.error());
        if (const Result refusal = checkEntry(item.text, nullptr); !refusal)
            return StoreChange::refused(refusal.error());
        if (!item.structure.parent.isEmpty() && !contains(item.structure.parent))
            return StoreChange::refused(
                QStringLiteral("没有“%1”这个日程，不能作为父任务。").arg(item.structure.parent));
        // The file writes four-digit years.
        for (const QDate date : {item.setDate, item.finishDate})
            if (!date.isValid() || date.year() < 1000 || date.year() > 9999)
                return StoreChange::refused(QStringLiteral("请输入有效日期！"));
        if (item.repeat.kind != RepeatRule::None) {
            QList<AgendaItem> items = m_table.items;
            items.append({item.text, {}, {}, 0, item.repeat});
            if (StoreChange written = rewriteRules(items); written.status != StoreChange::Done)
                return written;
        }
        // A new item takes nothing from one of the same text that left: only a restore does.
        if (!item.structure.isEmpty() || m_table.gone.contains(item.text)) {
            QList<AgendaItem> items = m_table.items;
            items.append(item);
            if (StoreChange written = rewriteStructure(items); written.status != StoreChange::Done)
                return written;
        }
        return appendHeld(item);
    });
}

StoreChange AgendaStore::replaceAll(const QList<AgendaItem>& items, const QStringList& entries)
{
    if (!m_loaded)
        return StoreChange::refused(checkAdd().error());
    return writeHeld(m_files, m_path, &m_stamp, [&] {
        if (!entries.isEmpty()) {
            if (const Result written = LogFile::append(m_files, m_logPath, entries); !written)
                return StoreChange::failed(QStringLiteral("日志无法写入 %1（%2），日程未改变。")
                                               .arg(QString::fromUtf8(LogFile::fileName), written.error()));
        }
        // The rules go with the items that a sync renamed: written, with the old texts' too, before
        // the agenda, as a rename here writes them.
        const auto repeats = [](const AgendaItem& item) { return item.repeat.kind != RepeatRule::None; };
        if (std::any_of(items.cbegin(), items.cend(), repeats) ||
            std::any_of(m_table.items.cbegin(), m_table.items.cend(), repeats)) {
            QList<AgendaItem> both = items;
            for (const AgendaItem& item : m_table.items)
                if (std::none_of(items.cbegin(), items.cend(),
                                 [&item](const AgendaItem& kept) { return kept.text == item.text; }))
                    both.append(item);
            if (StoreChange written = rewriteRules(both); written.status != StoreChange::Done)
                return written;
        }
        if (touchesStructure(items))
            if (StoreChange written = rewriteStructure(items); written.status != StoreChange::Done)
                return written;
        StoreChange change = rewrite(items);
        change.archived = !entries.isEmpty();
        return change;
    });
}

StoreChange AgendaStore::rewrite(const QList<AgendaItem>& items)
{
    if (const Result written = AgendaFile::rewrite(m_files, m_path, items); !written)
        return writeFailed(QString::fromUtf8(AgendaFile::fileName), written.error());
    return StoreChange::done();
}

StoreChange AgendaStore::rewriteRules(const QList<AgendaItem>& items)
{
    if (const Result written = RepeatFile::rewrite(m_files, m_repeatPath, items); !written)
        return writeFailed(QString::fromUtf8(RepeatFile::fileName), written.error());
    return StoreChange::done();
}

StoreChange AgendaStore::modify(const QString& editedText, const AgendaItem& item)
{
    if (!m_loaded)
        return {};
    return writeHeld(m_files, m_path, &m_stamp, [&] {
        QList<AgendaItem> items = m_table.items;
        RepeatRule rule;
        ItemStructure structure;
        for (AgendaItem& old : items) {
            if (old.text == editedText) {
                rule = old.repeat;
                structure = old.structure;
                // The entry boxes hold days: the time of day stays, on the new day too.
                const QTime time = item.time.isValid() ? item.time : old.time;
                old = item;
                old.repeat = rule;
                old.time = time;
                old.structure = structure;
            }
        }
        // Its subtasks follow it to its new text; under both texts until the agenda is written, as
        // the rules below.
        if (item.text != editedText) {
            bool followed = !structure.isEmpty();
            for (AgendaItem& other : items)
                if (other.structure.parent == editedText) {
                    other.structure.parent = item.text;
                    followed = true;
                }
            if (followed) {
                const QList<AgendaItem> old{{editedText, {}, {}, 0, {}, {}, structure}};
                if (StoreChange written = rewriteStructure(items, old); written.status != StoreChange::Done)
                    return written;
            }
        }
        // A renamed rule is written under both texts before the agenda changes: a crash between
        // the two leaves it with its item either way, and the next write of the rules drops the
        // one left over.
        if (rule.kind != RepeatRule::None && item.text != editedText) {
            QList<AgendaItem> both = items;
            both.append({editedText, {}, {}, 0, rule});
            if (StoreChange written = rewriteRules(both); written.status != StoreChange::Done)
                return written;
        }
        return rewrite(items);
    });
}

StoreChange AgendaStore::complete(const QString& text, QDate today, bool subtasks)
{
    if (!m_loaded)
        return StoreChange::refused(m_loadResult.error());
    if (!contains(text))
        return StoreChange::refused(QStringLiteral("没有“%1”这个日程。").arg(text));
    if (const Result refusal = checkDelete(text); !refusal)
        return StoreChange::refused(refusal.error());
    return remove(text, today, subtasks);
}

int AgendaStore::subtaskCount(const QString& text) const
{
    return int(subtaskTexts(text).size());
}

QSet<QString> AgendaStore::subtaskTexts(const QString& text) const
{
    const AgendaTree tree(m_table);
    QSet<QString> under;
    for (qsizetype i = 0; i < m_table.count(); ++i)
        if (m_table.items.at(i).text == text)
            for (const qsizetype below : tree.descendants(i))
                under.insert(m_table.items.at(below).text);
    return under;
}

StoreChange AgendaStore::setRepeatWords(const QString& text, const RepeatWords& words)
{
    for (const AgendaItem& item : m_table.items)
        if (item.text == text)
            return setRepeat(text, words.ruleFor(item.finishDate));
    return setRepeat(text, RepeatRule{words.kind});
}

Result AgendaStore::checkItem(const QString& text, const QString& change) const
{
    if (!m_loaded)
        return Result::failed(m_loadResult.error() +
                              QStringLiteral("\r\n请先修正此文件，才能%1。").arg(change));
    if (!contains(text))
        return Result::failed(QStringLiteral("没有“%1”这个日程。").arg(text));
    return Result::done();
}

StoreChange AgendaStore::setRepeat(const QString& text, const RepeatRule& rule)
{
    return changeItems(text, QStringLiteral("设置重复"), Rules,
                       [&rule](AgendaItem& item) { item.repeat = rule; });
}

StoreChange AgendaStore::setTime(const QString& text, QTime time)
{
    return changeItems(text, QStringLiteral("设置提醒时间"), Agenda,
                       [time](AgendaItem& item) { item.time = time; });
}

StoreChange AgendaStore::changeItems(const QString& text, const QString& what, File file,
                                     const std::function<void(AgendaItem&)>& change)
{
    if (const Result refusal = checkItem(text, what); !refusal)
        return StoreChange::refused(refusal.error());
    const QString& path = file == Rules ? m_repeatPath : file == Structure ? m_structurePath : m_path;
    FileStamp* stamp = file == Rules ? &m_repeatStamp : file == Structure ? &m_structureStamp : &m_stamp;
    return writeHeld(m_files, path, stamp, [&] {
        // The agenda as it is now: a rule or a structure is kept only for an item that is there.
        if (file != Agenda && !m_stamp.matches(m_files, m_path))
            return StoreChange::changedElsewhere(QString::fromUtf8(AgendaFile::fileName));
        QList<AgendaItem> items = m_table.items;
        for (AgendaItem& item : items)
            if (item.text == text)
                change(item);
        return file == Rules       ? rewriteRules(items)
               : file == Structure ? rewriteStructure(items)
                                   : rewrite(items);
    });
}

StoreChange AgendaStore::setParent(const QString& text, const QString& parent)
{
    if (!parent.isEmpty()) {
        if (const Result refusal = checkItem(text, QStringLiteral("设置父任务")); !refusal)
            return StoreChange::refused(refusal.error());
        if (parent == text)
            return StoreChange::refused(QStringLiteral("日程不能作为自己的子任务。"));
        if (!contains(parent))
            return StoreChange::refused(QStringLiteral("没有“%1”这个日程。").arg(parent));
        if (subtaskTexts(text).contains(parent))
            return StoreChange::refused(
                QStringLiteral("“%1”是“%2”的子任务，不能作为它的父任务。").arg(parent, text));
    }
    return changeItems(text, QStringLiteral("设置父任务"), Structure,
                       [&parent](AgendaItem& item) { item.structure.parent = parent; });
}

StoreChange AgendaStore::setPriority(const QString& text, ItemStructure::Priority priority)
{
    return changeItems(text, QStringLiteral("设置优先级"), Structure,
                       [priority](AgendaItem& item) { item.structure.priority = priority; });
}

StoreChange AgendaStore::setTags(const QString& text, const QStringList& tags)
{
    for (const QString& tag : tags)
        if (const QString problem = ItemStructure::tagProblem(tag); !problem.isEmpty())
            return StoreChange::refused(problem + QStringLiteral("。"));
    return changeItems(text, QStringLiteral("设置标签"), Structure,
                       [&tags](AgendaItem& item) { item.structure.tags = tags; });
}

bool AgendaStore::touchesStructure(const QList<AgendaItem>& items) const
{
    const auto holds = [](const AgendaItem& item) { return !item.structure.isEmpty(); };
    return !m_table.gone.isEmpty() || std::any_of(items.cbegin(), items.cend(), holds) ||
           std::any_of(m_table.items.cbegin(), m_table.items.cend(), holds);
}

StoreChange AgendaStore::rewriteStructure(const QList<AgendaItem>& items, const QList<AgendaItem>& extra)
{
    QList<StructureFile::Entry> entries;
    QSet<QString> texts, parents;
    for (const AgendaItem& item : items) {
        entries.append({item.text, item.structure});
        texts.insert(item.text);
        parents.insert(item.structure.parent);
    }
    for (const AgendaItem& item : extra)
        entries.append({item.text, item.structure});
    // A line of an item gone stays while it has somewhere to go back to or something waits for it.
    QStringList goneTexts = m_table.gone.keys();
    goneTexts.sort(); // the same file for the same lines
    for (const QString& gone : std::as_const(goneTexts)) {
        const ItemStructure& structure = m_table.gone[gone];
        if (!texts.contains(gone) && (texts.contains(structure.parent) || parents.contains(gone)))
            entries.append({gone, structure});
    }
    if (const Result written = StructureFile::rewrite(m_files, m_structurePath, entries); !written)
        return writeFailed(QString::fromUtf8(StructureFile::fileName), written.error());
    return StoreChange::done();
}

StoreChange AgendaStore::remove(const QString& text, QDate deletionDate, bool subtasks)
{
    if (!m_loaded)
        return {};
    return writeHeld(m_files, m_path, &m_stamp, [&] { return removeHeld(text, deletionDate, subtasks); });
}

StoreChange AgendaStore::removeHeld(const QString& text, QDate deletionDate, bool subtasks)
{
    const QString deleted = DateText::format(deletionDate);
    QSet<QString> leaving = subtasks ? subtaskTexts(text) : QSet<QString>();
    leaving.insert(text);
    QStringList entries;
    QList<AgendaItem> kept;
    kept.reserve(m_table.count());
    for (const AgendaItem& item : std::as_const(m_table.items)) {
        if (!leaving.contains(item.text)) {
            kept.append(item);
            continue;
        }
        entries.append(LogFile::formatEntry(item.text, DateText::format(item.setDate),
                                            DateText::format(item.finishDate, item.time), deleted));
        // The occurrences missed meanwhile are not archived one by one: the next is not in the past.
        if (const QDate next = item.repeat.following(item.finishDate, deletionDate, *m_holidays);
            next.isValid())
            kept.append({item.text, deletionDate, next, 0, item.repeat, item.time, item.structure});
    }
    if (entries.isEmpty())
        return {};

    if (const Result written = LogFile::append(m_files, m_logPath, entries); !written)
        return StoreChange::failed(QStringLiteral("日志无法写入 %1（%2），日程未删除。")
                                       .arg(QString::fromUtf8(LogFile::fileName), written.error()));
    StoreChange change = rewrite(kept);
    change.archived = true;
    return change;
}
