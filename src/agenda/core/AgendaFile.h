#pragma once

#include "agenda/core/AgendaItem.h"

#include "platform/Result.h"
#include "platform/files/FileStamp.h"

#include <QByteArray>
#include <QString>

class TextFiles;

// agenda.txt: one record a line, "text",#yyyy-mm-dd#,#yyyy-mm-dd# with CR LF, in GB18030.
namespace AgendaFile {

inline constexpr char fileName[] = "agenda.txt";

struct Load
{
    // Its error, for the user, names the file and, for a bad record, its line.
    Result result;
    QList<AgendaItem> items; // empty unless ok: a half-loaded table is never handed out
    FileStamp stamp;         // the file as read, ok or not
};

// One record as bytes, its line end with it; empty when the text cannot be encoded.
QByteArray formatRecord(const QString& content, QDate setDate, QDate finishDate);

// Reads the whole file. A missing or empty file is an empty agenda; blank lines are skipped.
// daysLeft is counted from today.
Load load(const TextFiles& files, const QString& path, QDate today);

Result append(TextFiles& files, const QString& path, const AgendaItem& item);
Result rewrite(TextFiles& files, const QString& path, const QList<AgendaItem>& items);

} // namespace AgendaFile
