#pragma once

#include "agenda/core/AgendaItem.h"

#include <QList>
#include <QSet>

// The agenda as a tree: each item under the item its structure names, found by text, or through
// the items that left before it (structure.txt keeps their place) up to one still there. A parent
// that is not there, a self-link and every item of a cycle put the item at the top level: no walk
// here loops, whatever a phone or a hand edit wrote.
class AgendaTree
{
public:
    explicit AgendaTree(const AgendaTable& table);

    // The index of the item that item i is drawn under, or -1.
    qsizetype parentOf(qsizetype i) const { return m_parent.at(i); }
    // Every item under item i, at any depth, in file order.
    QList<qsizetype> descendants(qsizetype i) const;

    struct Row
    {
        qsizetype line; // index into the ordered lines given
        qsizetype item; // index into the table
        int depth;      // 0 at the top level
        int subtasks;   // items under it, at any depth
        bool collapsed; // it has subtasks and they are not shown
    };
    // The lines as ordered, each parent followed by its subtree in the same order, the subtrees of
    // the collapsed texts left out.
    QList<Row> arrange(const QList<qsizetype>& ordered, const QSet<QString>& collapsed) const;

private:
    const AgendaTable& m_table;
    QList<qsizetype> m_parent;
    QList<QList<qsizetype>> m_children; // in file order
    bool m_flat = true;                 // no item names a parent
};
