#pragma once

#include "agenda/core/ItemStructure.h"
#include "sync/core/SyncEntry.h"

#include <QList>

#include <optional>

class IcsLines;
typedef struct icalcomponent_impl icalcomponent;

// A task's parent, priority and tags as the phones write them: RELATED-TO on the child, untyped or
// RELTYPE=PARENT (RELTYPE=CHILD on a parent names a child), PRIORITY 0–9, CATEGORIES of several
// values or lines. Written back only where the agenda changed them, every other relation
// (SIBLING, DEPENDS-ON, X-…) and a second parent kept byte for byte.
namespace TaskStructure {

struct Read
{
    QString parentUid; // the first parent the task names
    QStringList childUids;
    ItemStructure::Priority priority = ItemStructure::NoPriority;
    QStringList tags;
};

// What the task found in ics (its lines, the task found) and todo (libical's) holds.
Read read(const IcsLines& ics, icalcomponent* todo);

// Fills each task's values.structure.parent with the text of the task its parent UID names, or
// that names it as a child; empty when that task is not in the list or is the task itself. A task
// not read this time (no text) keeps the parent it was agreed to have.
void findParents(QList<ServerTask>& tasks);

// Changes in ics what differs from had: the parent relation (to parentUid, empty for none; nothing
// leaves it), the PRIORITY (1, 5, 9; none removes it), the CATEGORIES (one line); the rest stays as
// it came.
void write(IcsLines& ics, const Read& had, const ItemStructure& structure,
           const std::optional<QString>& parentUid);

} // namespace TaskStructure
