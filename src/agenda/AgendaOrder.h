#pragma once

#include "AgendaItem.h"

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
AgendaOrdering fromText(const QString& entry);

// The list lines for an ordering: earliest key first, later file items first among equal keys.
// An item's key is that of the last item with the same text, as the list knows items by text.
QStringList lines(const QList<AgendaItem>& agenda, AgendaOrdering ordering);

// For each line, whether an item with its text is overdue (the first such item decides).
QList<bool> overdueMarks(const QList<AgendaItem>& agenda, const QStringList& lines);

} // namespace AgendaOrder
