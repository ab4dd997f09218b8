#include "agenda/core/AgendaTree.h"

#include <QHash>

namespace {

// The item a parent's text leads to: there, or reached through the lines of items gone; -1 when
// the chain leaves the agenda or comes back to where it started.
qsizetype findParent(const AgendaTable& table, const QHash<QString, qsizetype>& index, const QString& text)
{
    QString at = table.items.at(index.value(text)).structure.parent;
    QSet<QString> passed{text};
    while (!at.isEmpty() && !passed.contains(at)) {
        if (const auto found = index.constFind(at); found != index.cend())
            return *found;
        passed.insert(at);
        const auto gone = table.gone.constFind(at);
        if (gone == table.gone.cend())
            break;
        at = gone->parent;
    }
    return -1;
}

} // namespace

AgendaTree::AgendaTree(const AgendaTable& table) : m_table(table)
{
    const qsizetype count = table.items.size();
    m_parent.fill(-1, count);
    m_children.resize(count);
    QHash<QString, qsizetype> index;
    bool any = false;
    for (qsizetype i = 0; i < count; ++i) {
        index.insert(table.items.at(i).text, i); // the last of a repeated text, as the list shows it
        any = any || !table.items.at(i).structure.parent.isEmpty();
    }
    m_flat = !any;
    if (m_flat)
        return;
    for (qsizetype i = 0; i < count; ++i)
        if (!table.items.at(i).structure.parent.isEmpty() && index.value(table.items.at(i).text) == i)
            m_parent[i] = findParent(table, index, table.items.at(i).text);
    // Every item of a cycle goes to the top level; what hangs from one stays under it.
    enum State : char
    {
        Unseen,
        OnPath,
        Settled
    };
    QList<State> state(count, Unseen);
    QList<qsizetype> path;
    for (qsizetype start = 0; start < count; ++start) {
        path.clear();
        qsizetype at = start;
        while (at >= 0 && state[at] == Unseen) {
            state[at] = OnPath;
            path.append(at);
            at = m_parent[at];
        }
        if (at >= 0 && state[at] == OnPath)
            for (qsizetype k = path.indexOf(at); k < path.size(); ++k)
                m_parent[path[k]] = -1;
        for (const qsizetype settled : std::as_const(path))
            state[settled] = Settled;
    }
    for (qsizetype i = 0; i < count; ++i)
        if (m_parent[i] >= 0)
            m_children[m_parent[i]].append(i);
}

QList<qsizetype> AgendaTree::descendants(qsizetype i) const
{
    QList<qsizetype> found = m_children.at(i);
    for (qsizetype k = 0; k < found.size(); ++k)
        found += m_children.at(found[k]);
    std::sort(found.begin(), found.end());
    return found;
}

int AgendaTree::depth(qsizetype i) const
{
    int depth = 0;
    for (qsizetype at = m_parent.at(i); at >= 0; at = m_parent.at(at))
        ++depth;
    return depth;
}

QList<AgendaTree::Row> AgendaTree::arrange(const QList<qsizetype>& ordered,
                                           const QSet<QString>& collapsed) const
{
    QList<Row> rows;
    rows.reserve(ordered.size());
    if (m_flat) {
        for (qsizetype line = 0; line < ordered.size(); ++line)
            rows.append({line, ordered[line], 0, 0, false});
        return rows;
    }
    QHash<qsizetype, qsizetype> lineOf;
    QHash<qsizetype, QList<qsizetype>> shownChildren; // lines, in the given order
    for (qsizetype line = 0; line < ordered.size(); ++line)
        lineOf.insert(ordered[line], line);
    for (qsizetype line = 0; line < ordered.size(); ++line) {
        const qsizetype parent = m_parent.at(ordered[line]);
        if (parent >= 0 && lineOf.contains(parent))
            shownChildren[parent].append(line);
    }
    const auto place = [&](auto& self, qsizetype line, int depth) -> int {
        const qsizetype item = ordered[line];
        const QList<qsizetype> children = shownChildren.value(item);
        const bool folded = !children.isEmpty() && collapsed.contains(m_table.items.at(item).text);
        const qsizetype at = rows.size();
        rows.append({line, item, depth, 0, folded});
        int under = 0;
        for (const qsizetype child : children) {
            if (folded)
                under += 1 + int(descendants(ordered[child]).size());
            else
                under += 1 + self(self, child, depth + 1);
        }
        rows[at].subtasks = under;
        return under;
    };
    for (qsizetype line = 0; line < ordered.size(); ++line) {
        const qsizetype parent = m_parent.at(ordered[line]);
        if (parent < 0 || !lineOf.contains(parent))
            place(place, line, 0);
    }
    return rows;
}
