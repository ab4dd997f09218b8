#pragma once

#include "platform/Result.h"
#include "platform/files/FileStamp.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

class TextFiles;

// my.log: the archive of deleted agenda items, one entry a line, oldest first, GB18030, CR LF.
namespace LogFile {

inline constexpr char fileName[] = "my.log";

QString formatEntry(const QString& content, const QString& setDate, const QString& finishDate,
                    const QString& deletionDate);

// The lines of my.log: their bytes as read, kept so that a rewrite gives them back unchanged.
// raw views into bytes, which nothing may change.
struct Load
{
    Result result;
    QByteArray bytes;
    QList<QByteArrayView> raw;
    FileStamp stamp;

    int count() const { return int(raw.size()); }
    // Line row's text, decoded when asked for: the list shows a few dozen of a long log's lines.
    // A line in a foreign encoding reads as well as it can; empty past the last line.
    QString text(int row) const;
    QStringList texts() const;
};
// A missing file loads as no lines; a last line without its line end counts.
Load load(const TextFiles& files, const QString& path);

Result append(TextFiles& files, const QString& path, const QStringList& entries);
// Writes the lines back byte for byte, each with CR LF.
Result rewrite(TextFiles& files, const QString& path, const QList<QByteArrayView>& lines);

} // namespace LogFile
