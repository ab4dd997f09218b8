#include "agenda/core/AgendaExport.h"

#include "agenda/core/AgendaTree.h"
#include "calendar/core/DateText.h"

#include <QFileInfo>
#include <QMap>
#include <QSaveFile>

#include <numeric>

namespace AgendaExport {

namespace {

// A field as RFC 4180 wants it: quoted when it holds a comma, a quote or a line break.
QString field(const QString& text)
{
    if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\n') && !text.contains(u'\r'))
        return text;
    return u'"' + QString(text).replace(u'"', QStringLiteral("\"\"")) + u'"';
}

QString priorityText(const ItemStructure& structure)
{
    return structure.priority == ItemStructure::NoPriority ? QString()
                                                           : ItemStructure::priorityName(structure.priority);
}

QString marks(const ItemStructure& structure)
{
    QString said;
    for (const QString& tag : structure.tags)
        said += QStringLiteral(" #") + tag;
    if (structure.priority != ItemStructure::NoPriority)
        said += QStringLiteral(" !") + ItemStructure::priorityName(structure.priority);
    return said;
}

QString groupName(QDate day, QDate today)
{
    if (day == today)
        return QStringLiteral("今天");
    if (day == today.addDays(1))
        return QStringLiteral("明天");
    const QString name =
        DateText::format(day) + QStringLiteral(" 星期") + DateText::weekdayName(day.dayOfWeek());
    return day < today ? name + QStringLiteral("（逾期）") : name;
}

} // namespace

QList<Entry> openItems(const AgendaTable& table)
{
    QList<qsizetype> fileOrder(table.count());
    std::iota(fileOrder.begin(), fileOrder.end(), 0);
    QList<Entry> entries;
    for (const AgendaTree::Row& row : AgendaTree(table).arrange(fileOrder, {}))
        entries.append({table.items.at(row.item), {}, row.depth});
    return entries;
}

QByteArray csv(const QList<Entry>& entries)
{
    const bool archived =
        std::any_of(entries.cbegin(), entries.cend(), [](const Entry& e) { return e.completedOn.isValid(); });
    QStringList header{QStringLiteral("内容"), QStringLiteral("设置日期"), QStringLiteral("完成日期"),
                       QStringLiteral("时间"), QStringLiteral("重复"),     QStringLiteral("优先级"),
                       QStringLiteral("标签"), QStringLiteral("父任务")};
    if (archived)
        header << QStringLiteral("已完成");
    QString text = header.join(u',') + QStringLiteral("\r\n");
    for (const Entry& entry : entries) {
        const AgendaItem& item = entry.item;
        QStringList row{item.text,
                        DateText::format(item.setDate),
                        DateText::format(item.finishDate),
                        item.time.isValid() ? DateText::formatTime(item.time) : QString(),
                        item.repeat.kind == RepeatRule::None ? QString() : item.repeat.text(),
                        priorityText(item.structure),
                        item.structure.tags.join(u','),
                        item.structure.parent};
        if (archived)
            row << (entry.completedOn.isValid() ? DateText::format(entry.completedOn) : QString());
        for (QString& value : row)
            value = field(value);
        text += row.join(u',') + QStringLiteral("\r\n");
    }
    return "\xEF\xBB\xBF" + text.toUtf8();
}

QString markdown(const QList<Entry>& entries, QDate today)
{
    // Each top-level open item opens its subtree in its own day's group.
    QMap<QDate, QStringList> groups;
    QStringList done;
    QDate current;
    for (const Entry& entry : entries) {
        const AgendaItem& item = entry.item;
        if (entry.completedOn.isValid()) {
            done << QStringLiteral("- [x] %1%2（%3 完成）")
                        .arg(item.text, marks(item.structure), DateText::format(entry.completedOn));
            continue;
        }
        const int depth = entry.depth;
        if (depth == 0 || !current.isValid())
            current = item.finishDate;
        QString line =
            QString(2 * depth, u' ') + QStringLiteral("- [ ] ") + item.text + marks(item.structure);
        if (depth > 0 && item.finishDate != current)
            line += QStringLiteral("（%1）").arg(DateText::monthDay(item.finishDate));
        if (item.time.isValid())
            line += u' ' + DateText::formatTime(item.time);
        groups[current] << line;
    }
    QString text = QStringLiteral("# 日程\n");
    for (auto group = groups.cbegin(); group != groups.cend(); ++group)
        text += QStringLiteral("\n## %1\n\n").arg(groupName(group.key(), today)) + group->join(u'\n') + u'\n';
    if (!done.isEmpty())
        text += QStringLiteral("\n## 已完成\n\n") + done.join(u'\n') + u'\n';
    return text;
}

QString formatOf(const QString& file)
{
    const QString suffix = QFileInfo(file).suffix().toLower();
    if (suffix == QStringLiteral("csv") || suffix == QStringLiteral("ics"))
        return suffix;
    if (suffix == QStringLiteral("md") || suffix == QStringLiteral("markdown"))
        return QStringLiteral("md");
    if (suffix == QStringLiteral("ical"))
        return QStringLiteral("ics");
    return {};
}

Result write(const QString& file, const QByteArray& bytes)
{
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit())
        return Result::failed(QStringLiteral("无法写入 %1（%2）").arg(file, out.errorString()));
    return Result::done();
}

} // namespace AgendaExport
