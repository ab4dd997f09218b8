#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// What an item holds beyond its three fields: the item it is a subtask of, its priority and its
// tags. Kept in structure.txt beside agenda.txt, which stays as it always was.
struct ItemStructure
{
    enum Priority
    {
        NoPriority,
        High,
        Medium,
        Low,
    };

    QString parent; // the text of the item it is a subtask of; empty at the top level
    Priority priority = NoPriority;
    QStringList tags;

    bool isEmpty() const { return parent.isEmpty() && priority == NoPriority && tags.isEmpty(); }
    bool operator==(const ItemStructure&) const = default;

    // 高, 中, 低, 无.
    static QString priorityName(Priority priority);
    static std::optional<Priority> priorityNamed(QStringView name);
    // iCalendar's 0–9: 1–4 high, 5 medium, 6–9 low, 0 and anything else none.
    static Priority priorityOf(int icalPriority);
    // What this program writes for one: 1, 5, 9, or 0 for none.
    static int icalPriority(Priority priority);

    // Tags as typed: 工作，家庭 with Chinese or Latin commas (or 、), each trimmed, the empty and the
    // repeated left out.
    static QStringList splitTags(QStringView typed);
    // Why a tag cannot be kept: a double quote or a line break; empty when it can.
    static QString tagProblem(const QString& tag);
};
