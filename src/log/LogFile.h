#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

class TextFiles;

// One line of my.log: its bytes as read, kept so that a rewrite gives them back unchanged, and
// its text for the list.
struct LogLine
{
    QByteArray raw;
    QString text;
};

// my.log: the archive of deleted agenda items, one entry a line, oldest first, GB18030, CR LF.
namespace LogFile {

inline constexpr char fileName[] = "my.log";

QString formatEntry(const QString& content, const QString& setDate, const QString& finishDate,
                    const QString& deletionDate);

struct Load
{
    bool ok = false;
    QList<LogLine> lines;
    QString error;
};
// A missing file loads as no lines; a last line without its line end counts.
Load load(const TextFiles& files, const QString& path);

bool append(TextFiles& files, const QString& path, const QStringList& entries, QString* error);
// Writes the lines back byte for byte, each with CR LF.
bool rewrite(TextFiles& files, const QString& path, const QList<LogLine>& lines, QString* error);

} // namespace LogFile
