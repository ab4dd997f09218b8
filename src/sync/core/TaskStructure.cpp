#include "sync/core/TaskStructure.h"

#include "sync/core/IcsLines.h"

#include <libical/ical.h>

#include <QHash>

namespace TaskStructure {

namespace {

// RELTYPE's value in a property's head, upper case; empty when it has none (a parent, then).
QByteArray relationType(const QByteArray& head)
{
    const QByteArray upper = head.toUpper();
    const qsizetype at = upper.indexOf(";RELTYPE=");
    if (at < 0)
        return {};
    QByteArray value = upper.mid(at + 9);
    if (const qsizetype end = value.indexOf(';'); end >= 0)
        value.truncate(end);
    if (value.startsWith('"') && value.endsWith('"') && value.size() >= 2)
        value = value.mid(1, value.size() - 2);
    return value;
}

bool namesParent(const IcsLines::Line& line)
{
    const QByteArray type = relationType(line.head);
    return type.isEmpty() || type == "PARENT";
}

// A TEXT value as RFC 5545 escapes it.
QByteArray escaped(const QString& text)
{
    QByteArray out;
    for (const char c : text.toUtf8()) {
        if (c == '\\' || c == ',' || c == ';')
            out += '\\';
        out += c == '\n' ? QByteArray("\\n") : QByteArray(1, c);
    }
    return out;
}

} // namespace

Read read(const IcsLines& ics, icalcomponent* todo)
{
    Read found;
    for (const IcsLines::Line* line : ics.properties("RELATED-TO")) {
        const QString uid = QString::fromUtf8(line->value.trimmed());
        if (uid.isEmpty())
            continue;
        if (namesParent(*line)) {
            if (found.parentUid.isEmpty())
                found.parentUid = uid;
        } else if (relationType(line->head) == "CHILD") {
            found.childUids.append(uid);
        }
    }
    if (!todo)
        return found;
    if (icalproperty* priority = icalcomponent_get_first_property(todo, ICAL_PRIORITY_PROPERTY))
        found.priority = ItemStructure::priorityOf(icalproperty_get_priority(priority));
    for (icalproperty* p = icalcomponent_get_first_property(todo, ICAL_CATEGORIES_PROPERTY); p;
         p = icalcomponent_get_next_property(todo, ICAL_CATEGORIES_PROPERTY)) {
        const char* value = icalproperty_get_categories(p);
        const QString tag = QString::fromUtf8(value ? value : "").trimmed();
        // A tag with a double quote or a line break is one the agenda cannot keep.
        if (!tag.isEmpty() && !found.tags.contains(tag) && ItemStructure::tagProblem(tag).isEmpty())
            found.tags.append(tag);
    }
    return found;
}

void findParents(QList<ServerTask>& tasks)
{
    QHash<QString, const ServerTask*> byUid;
    QHash<QString, QString> childOf; // from RELTYPE=CHILD: the first parent that names it
    for (const ServerTask& task : std::as_const(tasks)) {
        byUid.insert(task.uid, &task);
        for (const QString& child : task.childUids)
            if (!childOf.contains(child))
                childOf.insert(child, task.uid);
    }
    for (ServerTask& task : tasks) {
        // A task not read again this time keeps the parent agreed at the last sync.
        if (task.ics.isEmpty())
            continue;
        const QString parent = task.parentUid.isEmpty() ? childOf.value(task.uid) : task.parentUid;
        const ServerTask* found = parent == task.uid ? nullptr : byUid.value(parent);
        task.values.structure.parent = found ? taskText(found->values.text) : QString();
    }
}

void write(IcsLines& ics, const Read& had, const ItemStructure& structure,
           const std::optional<QString>& newParent)
{
    if (newParent && had.parentUid != *newParent) {
        const QString& parentUid = *newParent;
        // The first parent relation becomes the new one; every other line stays as it came.
        QList<QByteArray> lines;
        bool replaced = false;
        for (const IcsLines::Line* line : ics.properties("RELATED-TO")) {
            if (!replaced && namesParent(*line)) {
                replaced = true;
                if (!parentUid.isEmpty())
                    lines.append(IcsLines::fold("RELATED-TO;RELTYPE=PARENT:" + parentUid.toUtf8()));
                continue;
            }
            lines.append(line->raw);
        }
        if (!replaced && !parentUid.isEmpty())
            lines.prepend(IcsLines::fold("RELATED-TO;RELTYPE=PARENT:" + parentUid.toUtf8()));
        ics.replace("RELATED-TO", lines);
    }
    if (had.priority != structure.priority) {
        const int value = ItemStructure::icalPriority(structure.priority);
        ics.replace("PRIORITY",
                    value ? QList<QByteArray>{"PRIORITY:" + QByteArray::number(value)} : QList<QByteArray>{});
    }
    if (had.tags != structure.tags) {
        QByteArrayList values;
        for (const QString& tag : structure.tags)
            values.append(escaped(tag));
        ics.replace("CATEGORIES", values.isEmpty()
                                      ? QList<QByteArray>{}
                                      : QList<QByteArray>{IcsLines::fold("CATEGORIES:" + values.join(','))});
    }
}

} // namespace TaskStructure
