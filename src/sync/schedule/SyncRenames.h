#pragma once

#include "platform/Result.h"

#include <QByteArray>
#include <QHash>
#include <QString>

class TextFiles;

// 修改日程 may give an item a new text, and the agenda file shows only the new one: the running
// program notes each such change here, so that the next sync keeps the item's task (and its UID)
// instead of completing one and creating another.
namespace SyncRenames {

inline constexpr char fileName[] = "caldav.renames";

Result record(TextFiles& files, const QString& path, const QString& oldText, const QString& newText);

struct Read
{
    QHash<QString, QString> renames; // old text → new text
    QByteArray bytes;                // the file as read
};
Read read(const TextFiles& files, const QString& path);
// The text that oldText has now, following the renames.
QString follow(const QHash<QString, QString>& renames, const QString& oldText);
// Removes the file when it still holds what was read: a rename noted since waits for the next sync.
void clear(TextFiles& files, const QString& path, const QByteArray& bytes);

} // namespace SyncRenames
