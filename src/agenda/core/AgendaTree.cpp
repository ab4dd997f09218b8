#include "agenda/core/AgendaTree.h"

#include <QHash>

#include <vector>

namespace {

// The item a parent's text leads to: there, or reached through the lines of items gone; -1 when
// the chain leaves the agenda or comes back to where it started. at: the item's own text, which
// ends the walk.
qsizetype findParent(const AgendaTable& table, const QHash<QString, qsizetype>& index, const QString& text,
                     const QString& parent)
{
    // The parent there, as nearly always: no walk.
    if (const auto found = index.constFind(parent); found != index.cend() && *found >= 0)
        return parent == text ? -1 : *found;
    QString at = parent;
    QSet<QString> passed{text};
    while (!at.isEmpty() && !passed.contains(at)) {
        if (const auto found = index.constFind(at); found != index.cend() && *found >= 0)
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
    // Only the texts named as parents (and the gone items' parents) are looked up: most items
    // are no one's parent, and hashing every text would cost more than all the rest.
    QHash<QString, qsizetype> index;
    for (const AgendaItem& item : table.items)
        if (!item.structure.parent.isEmpty())
            index.insert(item.structure.parent, -1);
    m_flat = index.isEmpty();
    if (m_flat)
        return;
    for (const ItemStructure& gone : table.gone)
        if (!gone.parent.isEmpty())
            index.insert(gone.parent, -1);
    std::vector<char> last(size_t(count), 1); // the last of a repeated text, as the list shows it
    for (qsizetype i = 0; i < count; ++i)
        if (const auto found = index.find(table.items.at(i).text); found != index.end()) {
            if (*found >= 0)
                last[size_t(*found)] = 0;
            *found = i;
        }
    for (qsizetype i = 0; i < count; ++i) {
        const AgendaItem& item = table.items.at(i);
        if (!item.structure.parent.isEmpty() && last[size_t(i)])
            m_parent[i] = findParent(table, index, item.text, item.structure.parent);
    }
    // Every item of a cycle goes to the top level; what hangs from one stays under it.
    enum State : char
    {
        Unseen,
        OnPath,
        Settled
    };
    std::vector<State> state(size_t(count), Unseen);
    QList<qsizetype> path;
    for (qsizetype start = 0; start < count; ++start) {
        path.clear();
        qsizetype at = start;
        while (at >= 0 && state[size_t(at)] == Unseen) {
            state[size_t(at)] = OnPath;
            path.append(at);
            at = m_parent[at];
        }
        if (at >= 0 && state[size_t(at)] == OnPath)
            for (qsizetype k = path.indexOf(at); k < path.size(); ++k)
                m_parent[path[k]] = -1;
        for (const qsizetype settled : std::as_const(path))
            state[size_t(settled)] = Settled;
    }
    m_children.resize(count);
    for (qsizetype i = 0; i < count; ++i)
        if (m_parent[i] >= 0)
            m_children[m_parent[i]].append(i);
}

QList<qsizetype> AgendaTree::descendants(qsizetype i) const
{
    if (m_flat)
        return {};
    QList<qsizetype> found = m_children.at(i);
    for (qsizetype k = 0; k < found.size(); ++k)
        found += m_children.at(found[k]);
    std::sort(found.begin(), found.end());
    return found;
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
    const qsizetype count = m_parent.size();
    std::vector<qsizetype> lineOf(size_t(count), -1);
    for (qsizetype line = 0; line < ordered.size(); ++line)
        lineOf[size_t(ordered[line])] = line;
    QList<QList<qsizetype>> shownChildren(count); // lines, in the given order
    for (qsizetype line = 0; line < ordered.size(); ++line) {
        const qsizetype parent = m_parent.at(ordered[line]);
        if (parent >= 0 && lineOf[size_t(parent)] >= 0)
            shownChildren[parent].append(line);
    }
    const auto place = [&](auto& self, qsizetype line, int depth) -> int {
        const qsizetype item = ordered[line];
        const QList<qsizetype>& children = shownChildren.at(item);
        const bool folded =
            !children.isEmpty() && !collapsed.isEmpty() && collapsed.contains(m_table.items.at(item).text);
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
        if (parent < 0 || lineOf[size_t(parent)] < 0)
            place(place, line, 0);
    }
    return rows;
}
