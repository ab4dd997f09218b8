#include "FileStamp.h"

#include "TextFiles.h"

#include <QFileInfo>
#include <QHash>

namespace {

// Telling an edit apart, not withstanding an attacker: Qt's own hash is many times faster than
// a cryptographic one, and every load pays for it.
size_t hashOf(QByteArrayView bytes)
{
    return qHash(bytes, 0);
}

} // namespace

FileStamp FileStamp::of(const QString& path, QByteArrayView bytes)
{
    FileStamp stamp;
    const QFileInfo info(path);
    stamp.m_exists = true;
    stamp.m_size = bytes.size();
    stamp.m_modified = info.lastModified();
    stamp.m_hash = hashOf(bytes);
    return stamp;
}

FileStamp FileStamp::keeping(const QString& path, const QByteArray& bytes)
{
    FileStamp stamp;
    stamp.m_exists = true;
    stamp.m_size = bytes.size();
    stamp.m_modified = QFileInfo(path).lastModified();
    stamp.m_bytes = bytes;
    return stamp;
}

FileStamp FileStamp::missing()
{
    return FileStamp();
}

bool FileStamp::sameSizeAndTime(const QString& path) const
{
    const QFileInfo info(path);
    if (!info.exists())
        return !m_exists;
    return m_exists && info.size() == m_size && info.lastModified() == m_modified;
}

bool FileStamp::matches(const TextFiles& files, const QString& path) const
{
    if (!sameSizeAndTime(path))
        return false;
    if (!m_exists)
        return true;
    const TextFiles::Read read = files.read(path);
    if (read.status != TextFiles::Read::Ok)
        return false;
    return m_bytes.isNull() ? hashOf(read.bytes) == m_hash : read.bytes == m_bytes;
}
