#pragma once

#include "agenda/core/AgendaItem.h"

#include <QStringList>

// The orderings of Combo排序. They rearrange the list's lines only, never the table or the file.
enum class AgendaOrdering
{
    FileOrder,
    BySetDate,
    ByFinishDate,
    ByDaysLeft,
};

namespace AgendaOrder {

QStringList entryTexts();
// The ordering of entry i of entryTexts().
AgendaOrdering fromEntry(int i);

// The list lines for an ordering, exactly as inserting the items one by one in file order gives
// them: each item goes before the first line whose key is not below its own, where a line's key is
// that of the last item with the line's text (the list knows items by text only). Without
// duplicate texts this is earliest key first, later file items first among equal keys.
QStringList lines(const QList<AgendaItem>& agenda, AgendaOrdering ordering);

// The same lines as the items they show, with their overdue marks (as overdueMarks gives them),
// in one pass over the texts: the list makes a line's text only when it is shown.
struct Listing
{
    QList<qsizetype> items;
    QList<bool> marks;
};
Listing listing(const QList<AgendaItem>& agenda, AgendaOrdering ordering);

// For each line, whether an item with its text is overdue (the first such item decides).
QList<bool> overdueMarks(const QList<AgendaItem>& agenda, const QStringList& lines);

} // namespace AgendaOrder
