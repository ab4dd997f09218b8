#include "log/core/LogEntry.h"

#include "calendar/core/DateText.h"
#include "log/core/LogStore.h"
#include "platform/files/TextCodec.h"

namespace LogEntry {

std::optional<Entry> parse(QStringView line)
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
    QStringView finishText = line.sliced(finish + finishMark.size(), deleted - finish - finishMark.size());
    // A timed item's finish date carries its time: "2026-12-10 15:00".
    QTime time;
    if (const qsizetype blank = finishText.indexOf(u' '); blank >= 0) {
        time = DateText::readTime(finishText.sliced(blank + 1));
        if (!time.isValid())
            return std::nullopt;
        finishText = finishText.first(blank);
    }
    const auto finishDate = DateText::read(finishText);
    const auto deletionDate = DateText::read(line.sliced(deleted + deletedMark.size()));
    if (!setDate.isValid() || !finishDate.isValid() || !deletionDate.isValid())
        return std::nullopt;
    return Entry{line.first(set).toString(), setDate, finishDate, deletionDate, time};
}

FindLines findLines(const LogFile::Load& lines)
{
    FindLines found;
    found.texts.reserve(lines.count());
    found.dates.reserve(lines.count());
    found.times.reserve(lines.count());
    for (int row = 0; row < lines.count(); ++row) {
        const QString line = lines.text(row);
        if (const std::optional<Entry> entry = parse(line)) {
            found.texts.append(entry->content);
            found.dates.append({entry->setDate, entry->finishDate, entry->deletionDate});
            found.times.append(entry->time);
        } else {
            found.texts.append(line);
            found.dates.append(QList<QDate>());
            found.times.append(QTime());
        }
    }
    return found;
}

std::optional<Entry> at(const LogStore& log, int row)
{
    const auto& lines = log.lines();
    if (row < 0 || row >= lines.raw.size())
        return std::nullopt;
    // The raw bytes, not the list's text: a line in a foreign encoding is shown as well as can be,
    // and such a text must not reach the agenda.
    const std::optional<QString> text = TextCodec::decode(lines.raw[row]);
    return text ? parse(*text) : std::nullopt;
}

} // namespace LogEntry
