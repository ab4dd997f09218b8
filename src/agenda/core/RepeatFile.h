#pragma once

#include "agenda/core/AgendaItem.h"

#include "platform/Result.h"
#include "platform/files/FileStamp.h"

#include <QHash>

class TextFiles;

// repeat.txt, beside agenda.txt: one line for each repeating item, "text",kind[,day] with CR LF in
// GB18030 ("交房租",每月,15; "写周报",每周,周五; "妈妈生日",农历每年,八月十五). An item is known by its
// text, which is unique in the agenda.
namespace RepeatFile {

inline constexpr char fileName[] = "repeat.txt";

using Rules = QHash<QString, RepeatRule>;

struct Load
{
    // Its error names the file and the line that does not read.
    Result result;
    Rules rules; // empty unless ok
    FileStamp stamp;
};

// A missing or empty file holds no rules; blank lines are skipped.
Load load(const TextFiles& files, const QString& path);
// The rules of items, in their order; items without one are left out.
Result rewrite(TextFiles& files, const QString& path, const QList<AgendaItem>& items);

} // namespace RepeatFile
