#include "agenda/core/AgendaOrder.h"

#include <QHash>

#include <algorithm>
#include <limits>
#include <random>
#include <vector>

namespace AgendaOrder {

QStringList entryTexts()
{
    return {QStringLiteral("不排序刷新"), QStringLiteral("按设置日期排序"), QStringLiteral("按完成日期排序"),
            QStringLiteral("按剩余天数排序")};
}

AgendaOrdering fromEntry(int i)
{
    return i <= 0 || i > int(AgendaOrdering::ByDaysLeft) ? AgendaOrdering::FileOrder : AgendaOrdering(i);
}

namespace {

qint64 keyOf(const AgendaItem& item, AgendaOrdering ordering)
{
    switch (ordering) {
    case AgendaOrdering::BySetDate:
        return item.setDate.toJulianDay();
    case AgendaOrdering::ByFinishDate:
        return item.finishDate.toJulianDay();
    case AgendaOrdering::ByDaysLeft:
        return item.daysLeft;
    case AgendaOrdering::FileOrder:
        break;
    }
    return 0;
}

} // namespace

namespace {

// Why the insertion is replayed at all: docs/ARCHITECTURE.md, "Why the unusual code exists".
// The list as the insertion builds it: a sequence of lines, each carrying the key the insertion
// looks up for it (that of the last item with its text). An implicit treap keeps the sequence with
// each subtree's largest key, so "the first line whose key is not below k" and "insert there" each
// take logarithmic time instead of a scan of the list.
class LineSequence
{
public:
    explicit LineSequence(qsizetype capacity) { m_nodes.reserve(capacity); }

    void insertBeforeFirstNotBelow(qint64 ownKey, qint64 lineKey, qsizetype item)
    {
        const qsizetype position = firstNotBelow(ownKey);
        m_nodes.push_back({lineKey, lineKey, item, -1, -1, 1, quint32(m_rng())});
        const int node = int(m_nodes.size() - 1);
        int left = -1, right = -1;
        split(m_root, position, left, right);
        m_root = merge(merge(left, node), right);
    }

    template <typename F> void forEach(F&& visit) const
    {
        std::vector<int> stack;
        int n = m_root;
        while (n >= 0 || !stack.empty()) {
            while (n >= 0) {
                stack.push_back(n);
                n = m_nodes[n].left;
            }
            n = stack.back();
            stack.pop_back();
            visit(m_nodes[n].item);
            n = m_nodes[n].right;
        }
    }

private:
    struct Node
    {
        qint64 key, maxKey;
        qsizetype item;
        int left, right, size;
        quint32 priority;
    };

    int size(int n) const { return n < 0 ? 0 : m_nodes[n].size; }
    qint64 maxKey(int n) const { return n < 0 ? std::numeric_limits<qint64>::min() : m_nodes[n].maxKey; }
    void update(int n)
    {
        Node& node = m_nodes[n];
        node.size = 1 + size(node.left) + size(node.right);
        node.maxKey = std::max({node.key, maxKey(node.left), maxKey(node.right)});
    }

    qsizetype firstNotBelow(qint64 k) const
    {
        qsizetype offset = 0;
        int n = m_root;
        while (n >= 0) {
            const Node& node = m_nodes[n];
            if (maxKey(node.left) >= k) {
                n = node.left;
            } else if (node.key >= k) {
                return offset + size(node.left);
            } else {
                offset += size(node.left) + 1;
                n = node.right;
            }
        }
        return offset; // no such line: at the end
    }

    // The first count lines go to left, the rest to right.
    void split(int n, qsizetype count, int& left, int& right)
    {
        if (n < 0) {
            left = right = -1;
            return;
        }
        if (size(m_nodes[n].left) < count) {
            int l = -1, r = -1;
            split(m_nodes[n].right, count - size(m_nodes[n].left) - 1, l, r);
            m_nodes[n].right = l;
            update(n);
            left = n;
            right = r;
        } else {
            int l = -1, r = -1;
            split(m_nodes[n].left, count, l, r);
            m_nodes[n].left = r;
            update(n);
            left = l;
            right = n;
        }
    }

    int merge(int a, int b)
    {
        if (a < 0)
            return b;
        if (b < 0)
            return a;
        if (m_nodes[a].priority > m_nodes[b].priority) {
            m_nodes[a].right = merge(m_nodes[a].right, b);
            update(a);
            return a;
        }
        m_nodes[b].left = merge(a, m_nodes[b].left);
        update(b);
        return b;
    }

    std::vector<Node> m_nodes;
    int m_root = -1;
    std::minstd_rand m_rng{20021227};
};

} // namespace

Listing listing(const QList<AgendaItem>& agenda, AgendaOrdering ordering)
{
    Listing out;
    const qsizetype n = agenda.size();
    out.items.resize(n);
    out.marks.resize(n);
    // The items grouped by text, with one look-up each: a group's key is its last item's, and
    // its line is marked when any of its items is overdue.
    struct Group
    {
        qint64 lastKey;
        bool overdue;
    };
    std::vector<Group> groups;
    groups.reserve(size_t(n));
    std::vector<int> groupOf(static_cast<size_t>(n));
    std::vector<qint64> ownKeys(static_cast<size_t>(n));
    {
        QHash<QStringView, int> byText; // group number + 1
        byText.reserve(n);
        for (qsizetype i = 0; i < n; ++i) {
            ownKeys[i] = keyOf(agenda[i], ordering);
            int& number = byText[QStringView(agenda[i].text)];
            if (number == 0) {
                groups.push_back({ownKeys[i], false});
                number = int(groups.size());
            }
            Group& group = groups[size_t(number - 1)];
            group.lastKey = ownKeys[i];
            group.overdue = group.overdue || agenda[i].daysLeft < 0;
            groupOf[i] = number - 1;
        }
    }
    qsizetype* items = out.items.data();
    bool* marks = out.marks.data();
    const auto put = [&](qsizetype i) {
        *items++ = i;
        *marks++ = groups[size_t(groupOf[i])].overdue;
    };
    if (ordering == AgendaOrdering::FileOrder) {
        for (qsizetype i = 0; i < n; ++i)
            put(i);
        return out;
    }
    bool keysAgree = true;
    for (qsizetype i = 0; i < n && keysAgree; ++i)
        keysAgree = ownKeys[i] == groups[size_t(groupOf[i])].lastKey;
    if (keysAgree) {
        // Every line's key is its own item's: the insertion then keeps the lines sorted, so a sort
        // with later file items first among equal keys gives the same lines.
        std::vector<std::pair<qint64, qsizetype>> order(static_cast<size_t>(n));
        for (qsizetype i = 0; i < n; ++i)
            order[size_t(i)] = {ownKeys[i], -i};
        std::sort(order.begin(), order.end());
        for (const auto& [key, negated] : order)
            put(-negated);
        return out;
    }
    // Duplicate texts with different keys (a hand-edited file): the lines need not stay sorted, so
    // the insertion itself is replayed. Each item goes before the first line whose looked-up key is
    // not below the item's own key.
    LineSequence sequence(n);
    for (qsizetype i = 0; i < n; ++i)
        sequence.insertBeforeFirstNotBelow(ownKeys[i], groups[size_t(groupOf[i])].lastKey, i);
    sequence.forEach(put);
    return out;
}

QStringList lines(const QList<AgendaItem>& agenda, AgendaOrdering ordering)
{
    QStringList out;
    for (qsizetype i : listing(agenda, ordering).items)
        out.append(agenda[i].text);
    return out;
}

QList<bool> overdueMarks(const QList<AgendaItem>& agenda, const QStringList& lines)
{
    QHash<QString, bool> overdue;
    overdue.reserve(agenda.size());
    for (const AgendaItem& item : agenda) {
        if (item.daysLeft < 0)
            overdue.insert(item.text, true);
    }
    QList<bool> marks(lines.size(), false);
    for (qsizetype p = 0; p < lines.size(); ++p)
        marks[p] = overdue.contains(lines[p]);
    return marks;
}

} // namespace AgendaOrder
