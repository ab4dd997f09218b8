#include "agenda/core/LogRestore.h"

#include "agenda/core/AgendaFile.h"
#include "agenda/core/AgendaStore.h"
#include "agenda/core/DateText.h"
#include "log/core/LogStore.h"
#include "platform/TextCodec.h"

namespace LogRestore {

std::optional<Entry> parseEntry(QStringView line)
{
    const QStringView deletedMark = u"; 删除日期", finishMark = u"; 预定完成日期", setMark = u": 设置日期";
    const qsizetype deleted = line.lastIndexOf(deletedMark);
    if (deleted < 0)
        return std::nullopt;
    const qsizetype finish = line.first(deleted).lastIndexOf(finishMark);
    if (finish < 0)
        return std::nullopt;
    const qsizetype set = line.first(finish).lastIndexOf(setMark);
    if (set < 0)
        return std::nullopt;
    const auto setDate = DateText::read(line.sliced(set + setMark.size(), finish - set - setMark.size()));
    const auto finishDate =
        DateText::read(line.sliced(finish + finishMark.size(), deleted - finish - finishMark.size()));
    const auto deletionDate = DateText::read(line.sliced(deleted + deletedMark.size()));
    if (!setDate.isValid() || !finishDate.isValid() || !deletionDate.isValid())
        return std::nullopt;
    return Entry{line.first(set).toString(), setDate, finishDate, deletionDate};
}

FindLines findLines(const LogFile::Load& lines)
{
    FindLines found;
    found.texts.reserve(lines.count());
    found.dates.reserve(lines.count());
    for (int row = 0; row < lines.count(); ++row) {
        const QString line = lines.text(row);
        if (const std::optional<Entry> entry = parseEntry(line)) {
            found.texts.append(entry->content);
            found.dates.append({entry->setDate, entry->finishDate, entry->deletionDate});
        } else {
            found.texts.append(line);
            found.dates.append(QList<QDate>());
        }
    }
    return found;
}

std::optional<Entry> entryAt(const LogStore& log, int row)
{
    const auto& lines = log.lines();
    if (row < 0 || row >= lines.raw.size())
        return std::nullopt;
    // The raw bytes, not the list's text: a line in a foreign encoding is shown as well as can be,
    // and such a text must not reach the agenda.
    const std::optional<QString> text = TextCodec::decode(lines.raw[row]);
    return text ? parseEntry(*text) : std::nullopt;
}

StoreChange restore(AgendaStore& agenda, LogStore& log, int row)
{
    if (row < 0 || row >= log.lines().raw.size())
        return {};
    if (const Result refusal = agenda.checkAdd(); !refusal)
        return StoreChange::refused(refusal.error());
    const std::optional<Entry> entry = entryAt(log, row);
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
    StoreChange added = agenda.add({entry->content, entry->setDate, entry->finishDate, 0});
    if (added.status != StoreChange::Done)
        return added;
    StoreChange removed = log.removeLine(row);
    if (removed.status != StoreChange::Done)
        removed.message = QStringLiteral("日程已恢复，但此条日志未能删除：") + removed.message;
    return removed;
}

} // namespace LogRestore
