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
    // A file that was not there.
    static FileStamp missing();

    // Whether the file is still what was stamped: the same size and modification time, and then
    // the same bytes (an edit can keep both of the first).
    bool matches(const TextFiles& files, const QString& path) const;
    // The cheap half of matches(): a file whose size or time moved has surely changed.
    bool sameSizeAndTime(const QString& path) const;

private:
    bool m_exists = false;
    qint64 m_size = 0;
    QDateTime m_modified;
    size_t m_hash = 0;
    QByteArray m_bytes; // shared with the reader's copy, when it keeps one
};
