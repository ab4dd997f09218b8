#include "AgendaOrder.h"

#include <QHash>

#include <algorithm>
#include <numeric>

namespace AgendaOrder {

QStringList entryTexts()
{
    return {QStringLiteral("不排序刷新"), QStringLiteral("按设置日期排序"), QStringLiteral("按完成日期排序"),
            QStringLiteral("按剩余天数排序")};
}

AgendaOrdering fromText(const QString& entry)
{
    const QStringList texts = entryTexts();
    const qsizetype i = texts.indexOf(entry);
    return i <= 0 ? AgendaOrdering::FileOrder : AgendaOrdering(i);
}

namespace {

qint64 keyOf(const AgendaItem& item, AgendaOrdering ordering)
{
    switch (ordering) {
    case AgendaOrdering::BySetDate:
        return item.SetDate.toJulianDay();
    case AgendaOrdering::ByFinishDate:
        return item.FinishDate.toJulianDay();
    case AgendaOrdering::ByDaysLeft:
        return item.DaysLeft;
    case AgendaOrdering::FileOrder:
        break;
    }
    return 0;
}

} // namespace

QStringList lines(const QList<AgendaItem>& agenda, AgendaOrdering ordering)
{
    QStringList out;
    out.reserve(agenda.size());
    if (ordering == AgendaOrdering::FileOrder) {
        for (const AgendaItem& item : agenda)
            out.append(item.Content);
        return out;
    }
    QHash<QString, qint64> lastKey;
    lastKey.reserve(agenda.size());
    for (const AgendaItem& item : agenda)
        lastKey.insert(item.Content, keyOf(item, ordering));
    std::vector<qint64> keys(agenda.size());
    for (qsizetype i = 0; i < agenda.size(); ++i)
        keys[i] = lastKey.value(agenda[i].Content);
    std::vector<qsizetype> order(agenda.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&keys](qsizetype a, qsizetype b) {
        return keys[a] != keys[b] ? keys[a] < keys[b] : a > b;
    });
    for (qsizetype i : order)
        out.append(agenda[i].Content);
    return out;
}

QList<bool> overdueMarks(const QList<AgendaItem>& agenda, const QStringList& lines)
{
    QHash<QString, bool> overdue;
    overdue.reserve(agenda.size());
    for (const AgendaItem& item : agenda) {
        if (item.DaysLeft < 0)
            overdue.insert(item.Content, true);
    }
    QList<bool> marks(lines.size(), false);
    for (qsizetype p = 0; p < lines.size(); ++p)
        marks[p] = overdue.contains(lines[p]);
    return marks;
}

} // namespace AgendaOrder
