#pragma once

#include "agenda/core/AgendaItem.h"
#include "agenda/core/ItemStructure.h"

#include "platform/Result.h"
#include "platform/files/FileStamp.h"

#include <QHash>
#include <QList>

class TextFiles;

// structure.txt, beside agenda.txt: a line for each item with a parent, a priority or tags,
// "text","parent",priority then its tags, each quoted, with CR LF in GB18030:
// "买瓷砖","装修",高,"家庭","周末". An item is known by its text, as in repeat.txt. A line may
// name an item no longer in the agenda: one that left with subtasks still there, or whose parent
// is there, so that it finds its place again when restored. A program from before the file
// never reads it, and agenda.txt holds what it always held.
namespace StructureFile {

inline constexpr char fileName[] = "structure.txt";

using Entry = std::pair<QString, ItemStructure>;

struct Load
{
    // Its error names the file and the line that does not read.
    Result result;
    struct Line
    {
        QString text;
        ItemStructure structure;
    };
    QList<Line> lines; // in file order, which is the agenda's as the program writes it; empty unless ok
    FileStamp stamp;
};

// A missing or empty file holds nothing; blank lines are skipped.
Load load(const TextFiles& files, const QString& path);
// Gives each item the structure of its line, and returns the lines no item has. Lines in the
// agenda's order (as the program writes them) are matched as they come, without a table.
QHash<QString, ItemStructure> apply(Load& load, QList<AgendaItem>& items);

// One line for each entry that holds something, in their order.
Result rewrite(TextFiles& files, const QString& path, const QList<Entry>& entries);

} // namespace StructureFile
