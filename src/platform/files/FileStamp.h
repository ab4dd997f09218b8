#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

class TextFiles;

// What a data file was when the program last read it, so that a rewrite from memory never undoes
// a change made elsewhere (the files are plain text, and users edit them).
class FileStamp
{
public:
    // A file read as these bytes, remembered by a hash.
    static FileStamp of(const QString& path, QByteArrayView bytes);
    // The same for a reader that keeps the bytes anyway: compared whole, nothing to hash.
    static FileStamp keeping(const QString& path, const QByteArray& bytes);

    // Whether the file is still what was stamped (a stamp never taken stands for a missing file):
    // the same size and modification time, and then the same bytes (an edit can keep both).
    bool matches(const TextFiles& files, const QString& path) const;

    // What the user is told when a rewrite was refused because the file changed elsewhere.
    static QString changedElsewhere(const QString& fileName);

private:
    static FileStamp sized(const QString& path, qsizetype size);

    bool m_exists = false;
    qint64 m_size = 0;
    QDateTime m_modified;
    size_t m_hash = 0;
    QByteArray m_bytes; // shared with the reader's copy, when it keeps one
};
